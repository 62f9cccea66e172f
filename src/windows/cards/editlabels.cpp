#include "windows/cards/editlabels.h"

#include "app/settings.h"
#include "data/freefieldlabels.h"
#include "kit/framegeometry.h"
#include "kit/help.h"
#include "kit/ozocheck.h"
#include "kit/presenter.h"
#include "windows/dialogs/dialogparts.h"
#include "windows/cards/freefieldcaptions.h"

#include <QLabel>
#include <QLineEdit>
#include <QScreen>

#include <memory>

namespace {

constexpr int kRowTop = 96;
constexpr int kRowHeight = 24;

QString rowCaption(int nr)
{
    // Fields 1..10 have an accelerator on their last digit.
    if (nr < 10)
        return QStringLiteral("Feld &") + QString::number(nr);
    if (nr == 10)
        return QStringLiteral("Feld 1&0");
    return QStringLiteral("Feld ") + QString::number(nr);
}

bool isFilm(const QString &kind) { return kind == QLatin1String("FILM"); }
bool isPerson(const QString &kind) { return kind == QLatin1String("PERS"); }

} // namespace

TDEditLabels::TDEditLabels(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DEditLabels"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    Tag = 36;
    resize(470, 500);
    Label1 = MakeDialogLabel(this, QStringLiteral("Label1"),
                             QStringLiteral("Pro Medium bzw. Film gibt es 5 bzw. 15 \"freie\" Anhang- Felder, in der "
                                            "Personenkartei gibt es 7 \"freie\" Felder. Je nachdem, was Sie in ihnen "
                                            "speichern wollen, können Sie ihnen hier passende Namen geben. ( & für "
                                            "Hotkey, s. Hilfe )"),
                             QRect(12, 8, 446, 60));
    // A plain label shows "&" as it is (the design's "&&").
    Label1->setTextFormat(Qt::PlainText);
    Label1->setWordWrap(true);
    // Each heading centred over its column of boxes.
    LabelFL = MakeDialogLabel(this, QStringLiteral("LabelFL"), QStringLiteral("Datei-Verknüfung"),
                              QRect(256, 74, 108, 18));
    LabelFL->setAlignment(Qt::AlignCenter);
    LabelPers = MakeDialogLabel(this, QStringLiteral("LabelPers"), QStringLiteral("Personen-Feld "),
                                QRect(368, 74, 92, 18));
    LabelPers->setAlignment(Qt::AlignCenter);
    for (int i = 0; i < 15; ++i) {
        const int nr = i + 1;
        const int y = kRowTop + i * kRowHeight;
        LabelNr[i] = MakeDialogLabel(this, QStringLiteral("LabelNr%1").arg(nr), rowCaption(nr), QRect(12, y + 3, 56, 18));
        Edit[i] = new QLineEdit(this);
        Edit[i]->setObjectName(QStringLiteral("Edit%1").arg(nr));
        Edit[i]->setGeometry(70, y, 184, 22);
        Edit[i]->setMaxLength(40);
        LabelNr[i]->setBuddy(Edit[i]);
        CheckFL[i] = MakeDialogCheck(this, QStringLiteral("CheckFL%1").arg(nr), QString(), QRect(300, y + 2, 20, 18));
        CheckPers[i] = MakeDialogCheck(this, QStringLiteral("CheckPers%1").arg(nr), QString(), QRect(404, y + 2, 20, 18));
        connect(Edit[i], &QLineEdit::textChanged, this, [this, nr] { EditChange(nr); });
        CheckFL[i]->OnClick = [this, nr](QObject *) { CheckFLClick(nr); };
        CheckPers[i]->OnClick = [this, nr](QObject *) { CheckPersClick(nr); };
    }
    const int by = kRowTop + 15 * kRowHeight + 12;
    BitBtnHelp = MakeDialogButton(this, "BitBtnHelp", ibkHelp, QRect(12, by, 100, 25));
    BitBtnOK = MakeDialogButton(this, "BitBtnOK", ibkOK, QRect(250, by, 100, 25));
    BitBtnOK->setDefault(true);
    BitBtnCancel = MakeDialogButton(this, "BitBtnCancel", ibkCancel, QRect(358, by, 100, 25));
    connect(BitBtnHelp, &QPushButton::clicked, this, [this] { kit::showHelp(Tag); });
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    Create();
    SetCaption(QStringLiteral("Freie Felder einrichten"));
}

int TDEditLabels::count() const
{
    return isFilm(FKind) ? FilmFreeCount : isPerson(FKind) ? PersonFreeCount : MediumFreeCount;
}

void TDEditLabels::SetKind(const QString &kind)
{
    FKind = kind;
    const int n = count();
    const bool film = isFilm(kind);
    FFilling = true;
    for (int i = 0; i < 15; ++i) {
        const int nr = i + 1;
        const bool shown = i < n;
        LabelNr[i]->setVisible(shown);
        Edit[i]->setVisible(shown);
        CheckFL[i]->setVisible(shown);
        CheckPers[i]->setVisible(shown && film);
        if (!shown)
            continue;
        if (film) {
            Edit[i]->setText(GetFilmFreeLabel(nr));
            CheckFL[i]->SetChecked(GetFilmFreeIsFileLink(nr));
            CheckPers[i]->SetChecked(GetFilmFreeIsPerson(nr));
        } else if (isPerson(kind)) {
            Edit[i]->setText(GetPersonFreeLabel(nr));
            CheckFL[i]->SetChecked(GetPersonFreeIsFileLink(nr));
        } else {
            Edit[i]->setText(GetMediumFreeLabel(nr));
            CheckFL[i]->SetChecked(GetMediumFreeIsFileLink(nr));
        }
    }
    FFilling = false;
    LabelPers->setVisible(film);
    const int by = kRowTop + n * kRowHeight + 12;
    for (TOzoNewButton *b : {BitBtnHelp, BitBtnOK, BitBtnCancel})
        b->move(b->x(), by);
    // The window ends below the buttons: only the kind's rows are shown,
    // and the growth to the lowest control at the first show must not bring
    // back the room of the hidden ones.
    LowestBottom = by + 25 + 12;
    const int bevels = PanelClient && PanelClient->BevelOuter() != bvNone ? 2 * PanelClient->BevelWidth() : 0;
    resize(width(), TitleHeight() + LowestBottom + bevels);
}

void TDEditLabels::EditChange(int nr)
{
    if (FFilling)
        return;
    const QString text = Edit[nr - 1]->text();
    if (isFilm(FKind))
        SetFilmFreeLabel(nr, text);
    else if (isPerson(FKind))
        SetPersonFreeLabel(nr, text);
    else
        SetMediumFreeLabel(nr, text);
}

void TDEditLabels::CheckFLClick(int nr)
{
    if (FFilling)
        return;
    const bool on = CheckFL[nr - 1]->Checked();
    if (isFilm(FKind)) {
        SetFilmFreeIsFileLink(nr, on);
        CheckPers[nr - 1]->SetChecked(GetFilmFreeIsPerson(nr));
    } else if (isPerson(FKind)) {
        SetPersonFreeIsFileLink(nr, on);
    } else {
        SetMediumFreeIsFileLink(nr, on);
    }
}

void TDEditLabels::CheckPersClick(int nr)
{
    if (FFilling || !isFilm(FKind))
        return;
    SetFilmFreeIsPerson(nr, CheckPers[nr - 1]->Checked());
    CheckFL[nr - 1]->SetChecked(GetFilmFreeIsFileLink(nr));
}

bool ExecEditLabels(bool isMedium, bool isPerson, QWidget *owner)
{
    if (!CaptionTable())
        return false;
    QString kind = QStringLiteral("FILM");
    if (isPerson) {
        kind = QStringLiteral("PERS");
    } else if (isMedium) {
        const QString current = CurrentMediumKind();
        const TModalResult r = kit::messageBox(
            QStringLiteral("Wollen Sie die allgemeinen Beschriftungen für ALLE Medien bearbeiten? (Wenn Sie mit NEIN "
                           "antworten, bearbeiten Sie statt dessen die spezifischen Beschriftungen für Medien des "
                           "Typs \"")
                + current + QStringLiteral("\"!)"),
            QStringLiteral("Auswahl"), kit::MsgButtons::YesNoCancel, kit::BoxIcon::Question);
        if (r == mrCancel)
            return false;
        if (r == mrYes) {
            kind = QStringLiteral("KASS");
            LoadMediumFreeFieldLabels(*CaptionTable(), DBBase, kind, UserMessageSink());
        } else {
            if (IsReservedCaptionSet(current)) {
                // Its rows would overwrite the general or film captions.
                ShowUserMessage({QStringLiteral("Fehler"), ReservedKindText(current)});
                return false;
            }
            kind = current;
        }
    }
    auto dlg = std::unique_ptr<TDEditLabels>(CreateForm<TDEditLabels>());
    dlg->SetKind(kind);
    if (owner) {
        // Beside the record window, near its caption labels, on its screen.
        const QScreen *screen = owner->screen();
        dlg->move(BesidePlace(dlg->frameGeometry().size(), owner->frameGeometry(),
                              screen ? screen->availableGeometry() : QRect()));
    }
    DeactivateMetalForm();
    const TModalResult r = kit::execDialog(*dlg);
    ReactivateMetalForm();
    if (r != mrOk) {
        LoadFreeFieldLabelsNow(); // undoes every live change
        return false;
    }
    const bool saved = SaveFreeFieldLabelsNow(kind);
    if (isMedium)
        ReloadMediumFreeFieldLabels();
    else
        ApplyAllFreeFieldLabels();
    return saved;
}
