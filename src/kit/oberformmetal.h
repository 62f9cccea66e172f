// The metal frame: brushed-metal skins or a gradient title, the caption look
// that follows activation, rounded dialogs, roll-up, maximise and zoom; and
// tOzoFormMetal, the base of most windows, which moves the designed controls
// into the client panel and grows to fit them.
#pragma once

#include "kit/presenter.h"

#include "kit/oberform.h"
#include "platform/rounding.h"

#include <QImage>

class QTimer;

class TOberFormMetal : public TOberFormAbs
{
    Q_OBJECT
public:
    explicit TOberFormMetal(QWidget *parent = nullptr);
    ~TOberFormMetal() override;

    void ShowInactiveCaption() override;
    void ShowActiveCaption() override;
    // Scales the window by 1.2 (true) or 0.833 (false) when the state changes.
    virtual void SetZoomed(bool z);
    // Scales the window and everything on it by F.
    virtual void ScaleForm(double f);
    void ScaleFormBy(const platform::Ratio &f);

    void SetRolledUp(bool up) { SetRolledUpImpl(up); }
    // Before the inherited FormCreate, so the button row includes it.
    void ShowZoomButton();
    void SetRounded(bool on);

    bool FormIsActive = false;
    bool SkinsInUse = true;
    bool ActiveLookShown = true;
    bool Zoomed = false;
    bool Rounded() const { return FRounded; }
    QColor MetalFaceColor{192, 192, 192};

    QTimer *TimerActivateVerzoegerung = nullptr;
    QTimer *TimerDeActivateVerzoegerung = nullptr;

    void WinZoomButtClick();

    // The three skins as loaded for the class: inactive title and client,
    // active title, client of rounded dialogs.
    static const QImage &SkinInactive();
    static const QImage &SkinActive();
    static const QImage &SkinLight();

    void FormCreate() override;
    void FormShow() override;
    void FormActivate() override;
    void FormDeactivate() override;
    void FormResize() override;
    void FormClose(TCloseAction &action) override;

protected:
    void FormDestroy();

private:
    void showCaptionLook(bool active);
    void applySkins();
    void tileTitle(const QImage &skin);
    bool FRegionOn = false;
};

// The base of most windows.
class tOzoFormMetal : public TOberFormMetal
{
    Q_OBJECT
public:
    explicit tOzoFormMetal(QWidget *parent = nullptr);

    int LowestBottom = 0;
    bool GrownOnce = false;

    void FormCreate() override;
    void FormShow() override;
};

// Around every modal dialog: the window below takes the inactive look before
// and the active look after.
void DeactivateMetalForm();
void ReactivateMetalForm();
// The same as a guard: inactive look while it lives, the active one back
// however the scope is left.
class MetalFormDeactivation
{
public:
    MetalFormDeactivation() { DeactivateMetalForm(); }
    ~MetalFormDeactivation() { ReactivateMetalForm(); }
    MetalFormDeactivation(const MetalFormDeactivation &) = delete;
    MetalFormDeactivation &operator=(const MetalFormDeactivation &) = delete;
};
// Runs a dialog modally (kit::execDialog) inside such a guard.
TModalResult ExecMetalModal(QDialog &dialog);
TModalResult ExecMetalModal(QDialog &dialog, const kit::BoxInfo &info);

// Later windows use the gradient look: the skins are dropped.
void FreeMetalSkins();
// Loads the class data again from the program folder (glyphs and skins);
// the program does it once, tests after changing the folder.
void ReloadMetalClassData();
