// The picture of a `Grafik` field. The stored bytes are decoded by the
// picture loader on every record change; a picture that cannot be decoded
// shows nothing and leaves its message in pictureError(). Pasting, cutting
// and loading from a file write the field at once (putting a browsed record
// into edit state); on a write-protected set they are refused with
// editRefused().
#pragma once

#include "dbui/fieldcontrol.h"

#include <QFrame>
#include <QImage>

namespace dbui {

class DbImage : public QFrame, public FieldControl
{
    Q_OBJECT
    Q_PROPERTY(bool stretch READ stretch WRITE setStretch)
    Q_PROPERTY(bool center READ center WRITE setCenter)

public:
    explicit DbImage(QWidget *parent = nullptr);

    // Stretch: the picture is scaled to fill the control, keeping its
    // proportions. Center: an unscaled picture stands in the middle.
    bool stretch() const { return m_stretch; }
    void setStretch(bool on);
    bool center() const { return m_center; }
    void setCenter(bool on);


    // The picture as shown: when stretched into a smaller control it is
    // decoded no larger than the control's device pixels.
    const QImage &picture() const { return m_picture; }
    bool hasPicture() const { return !m_picture.isNull(); }
    // Why the stored bytes gave no picture; empty when they did or when
    // the field is empty.
    QString pictureError() const { return m_error; }

    // Clipboard and file operations; false when refused or failed (a file
    // that is not a picture reports its message through the error sink).
    bool copyToClipboard() const;
    bool cutToClipboard();
    bool pasteFromClipboard();
    bool loadFromFile(const QString &path);
    // Puts picture bytes (a file's content) into the field.
    bool setPictureBytes(const QByteArray &bytes);
    bool clearPicture();

signals:
    void editRefused();
    void pictureChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showField();
    // Decodes m_bytes for the control's present size.
    void decodeShown();
    QSize shownFit() const;
    bool writeBytes(const QByteArray &bytes);

    QByteArray m_bytes; // what m_picture was decoded from
    QImage m_picture;
    QString m_error;
    QSize m_decodedFit; // the fit m_picture was decoded for (invalid: full size)
    bool m_stretch = false;
    bool m_center = true;
};

} // namespace dbui
