// The picture window: the picture of a film or a person filling the window,
// with its title line, its own lock button and a popup for the clipboard
// and for loading from a file.
#pragma once

#include "kit/oberformmetal.h"

class QLabel;
class QAction;
class QMenu;
class TLockButton;
namespace dbui {
class DataSource;
class DbImage;
class DbText;
}

class TWGrafik : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TWGrafik(QWidget *parent = nullptr);

    dbui::DbText *DBTitle;
    dbui::DbImage *DBImage1;
    TLockButton *LockButton1;
    QMenu *PopupMenu1;
    QAction *Einfgen1, *Kopieren1, *Ausschneiden1, *Laden1;

    // Binds to the source's picture; titleField is "Titel" or "Name".
    void ShowFor(dbui::DataSource *source, const QString &titleField);
    void FormDeactivate() override;

protected:
    void resizeEvent(QResizeEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateEntries();
};

extern TWGrafik *WGrafik;
// Created on first use.
TWGrafik *PictureWindow();

// Lets the user pick a picture file and puts it into the image's field as
// a bitmap, converted in memory; false when cancelled or refused (with the
// German message).
bool LoadPictureFromFile(dbui::DbImage *image, QWidget *parent);

// The four picture entries of a popup on image (paste, copy, cut, load).
struct PictureEntries {
    QAction *paste, *copy, *cut, *load;
};
PictureEntries AddPictureEntries(QMenu *menu, dbui::DbImage *image, QWidget *owner);

// The picture page of a record window: a panel over area holding the
// stretched image of the "Grafik" field (owner filters its events; a refused
// edit blinks the lock), and its popup with the four entries and the
// separate picture window captioned by titleField.
struct RecordPicturePage {
    QWidget *panel;
    dbui::DbImage *image;
    QMenu *popup;
    PictureEntries entries;
    QAction *window;
};
RecordPicturePage AddRecordPicturePage(QWidget *owner, const QRect &area, dbui::DataSource *source,
                                       TLockButton *lock, const QString &titleField);
