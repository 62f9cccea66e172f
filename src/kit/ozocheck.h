// The program's check boxes and radio buttons: self-drawn, with bitmap boxes
// and marks by image type, flat or 3-D frames, hot tracking, an optional
// click sound, three states and radio groups by number.
#pragma once

#include "kit/controltypes.h"

#include <QColor>
#include <QWidget>
#include <functional>

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TOzoImageType { igCrossRed, igHookBlue, igCirce, igCrossBlue, igCrossGreen, igHookLime, igHookRed };
enum TOzoCheckStyle { bmNone, bmLowered, bmRaised, bmSimple };

using TNotifyEvent = std::function<void(QObject *sender)>;

// Drawing, hot tracking, the click cycle and the sound.
class TQCustomCheck : public QWidget
{
    Q_OBJECT
public:
    explicit TQCustomCheck(QWidget *parent = nullptr);
    ~TQCustomCheck() override;

    TCheckBoxState State() const { return m_state; }
    void SetState(TCheckBoxState state);
    bool Checked() const { return m_state == cbChecked; }
    void SetChecked(bool checked);

    QString Caption() const { return m_caption; }
    void SetCaption(const QString &caption);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool on);
    bool ShowFocused() const { return m_showFocused; }
    void SetShowFocused(bool on);
    bool Flat() const { return m_flat; }
    void SetFlat(bool on);
    bool HotTrack() const { return m_hotTrack; }
    void SetHotTrack(bool on);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment a);
    TOzoImageType ImageType() const { return m_imageType; }
    void SetImageType(TOzoImageType t);
    bool PlayMusic() const { return m_playMusic; }
    void SetPlayMusic(bool on) { m_playMusic = on; }
    TOzoCheckStyle Style() const { return m_style; }
    void SetStyle(TOzoCheckStyle s);
    QColor ColorSipleMargine() const { return m_marginColor; }
    void SetColorSipleMargine(const QColor &c);
    QColor Color() const { return m_color; }
    void SetColor(const QColor &c);
    // The tool tip: the hint, then HintSecondLine on a line of its own.
    QString Hint() const { return m_hintFirstLine; }
    void SetHint(const QString &hint);
    QString HintSecondLine() const { return m_hintSecondLine; }
    void SetHintSecondLine(const QString &s);
    bool GrayedQuestionMark() const { return m_grayedQuestionMark; }
    void SetGrayedQuestionMark(bool on);
    bool IsRadioButton() const { return m_isRadio; }
    void SetIsRadioButton(bool on);
    bool HandCursor() const { return m_handCursor; }
    void SetHandCursor(bool on) { m_handCursor = on; }
    bool IsHot() const { return m_hot; }

    // The user's click: focus, the state cycle, the sound, OnClick.
    void Click();

    // Names of the pictures the control draws now: box, and the mark (empty
    // when unchecked). Exposed so the choice can be checked without pixels.
    QString BoxBitmapName() const;
    QString MarkBitmapName() const;
    // Caption rectangle of the current layout (without the focus frame).
    QRect CaptionRect() const;

    TNotifyEvent OnStateChange;
    TNotifyEvent OnClick;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseExit;

protected:
    // Stores a state without any checks (the setters decide).
    void StoreState(TCheckBoxState state);
    virtual void ApplyState(TCheckBoxState state);
    // The state the click cycle moves to from the current one.
    virtual TCheckBoxState NextClickState() const;
    // Before a change by the user: may the state change at all?
    virtual bool BeforeUserChange() { return true; }
    // After the user changed the state (write-back of the data-aware kind).
    virtual void AfterUserChange() {}
    // Esc pressed on the control.
    virtual void ResetRequested() {}

    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void enterEvent(QEnterEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void changeEvent(QEvent *e) override;
    bool event(QEvent *e) override;

    TCheckBoxState m_state = cbUnchecked;

private:
    void UpdateHint();
    void PlayClick();
    void SetHot(bool hot);

    QString m_caption;
    bool m_transparent = false;
    bool m_showFocused = true;
    bool m_flat = true;
    bool m_hotTrack = false;
    bool m_hot = false;
    TAlignment m_alignment = taRightJustify;
    TOzoImageType m_imageType = igHookRed;
    bool m_playMusic = false;
    TOzoCheckStyle m_style = bmNone;
    QColor m_marginColor = QColor(0, 0, 255);
    QColor m_color;
    QString m_hintSecondLine;
    QString m_hintFirstLine;
    bool m_grayedQuestionMark = false;
    bool m_isRadio = false;
    bool m_handCursor = false;
    bool m_pressed = false;
    int m_shortcutId = 0;
};

// Three states and radio groups.
class TOzoCustomCheck : public TQCustomCheck
{
    Q_OBJECT
public:
    explicit TOzoCustomCheck(QWidget *parent = nullptr);

    bool AllowGrayed() const { return m_allowGrayed; }
    virtual void SetAllowGrayed(bool on);
    bool GrayedPermitted() const { return m_grayedPermitted; }
    virtual void SetGrayedPermitted(bool on);
    bool ChangesPermitted() const { return m_changesPermitted; }
    int RadioGroup() const { return m_radioGroup; }
    void SetRadioGroup(int group) { m_radioGroup = group; }

protected:
    void ApplyState(TCheckBoxState state) override;
    TCheckBoxState NextClickState() const override;

    bool m_allowGrayed = false;
    bool m_grayedPermitted = false;
    bool m_changesPermitted = true;
    int m_radioGroup = 0;
};

class TOzoCheck : public TOzoCustomCheck
{
    Q_OBJECT
public:
    explicit TOzoCheck(QWidget *parent = nullptr);
    void SetAllowGrayed(bool on) override;
};

// Plays the program's click sound ("klik"); silently nothing where the
// machine has no sound output.
void PlayClickSound();
