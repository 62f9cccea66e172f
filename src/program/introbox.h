// The intro box: shown while the program starts, closes itself 5000 ms after
// its first activation, or at once on a click or a key. Also the "About" box.
#pragma once

#include <QDialog>
#include <QTimer>

class QLabel;

class QFrame;

class TIntrobox : public QDialog
{
    Q_OBJECT
public:
    explicit TIntrobox(QWidget *parent = nullptr);
    ~TIntrobox() override;

    QFrame *Panel1;
    QLabel *Image1;
    QLabel *LabelVersion;
    QLabel *LinkLabel;
    QTimer *Timer1;

    // The first activation starts the timer (tests call it directly).
    void FormActivate();
    void Timer1Timer();
    // An ordinary window (the "About" box): it does not close by itself.
    void DisableAutoClose() { Timer1->stop(); m_activated = true; }

protected:
    bool event(QEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void done(int r) override;

private:
    bool m_activated = false;
};

// The intro box of the running program; cleared when it closes.
extern TIntrobox *Introbox;

// Shows a new, ordinary intro box modally as the "About" box (an existing
// intro box is freed first).
void ShowIntroboxAsAbout(QWidget *parent);

// Points the main window's door (windows/main/introboxdoor.h) at Introbox.
void InstallIntroboxDoor();

// The program's version as the intro box and the update check show it.
QString TarvoVersionText();
