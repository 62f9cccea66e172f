#include "windows/cards/tdlenenter.h"

#include "app/settings.h"
#include "kit/help.h"
#include "kit/msgboxmetal.h"
#include "kit/ozocheck.h"
#include "kit/presenter.h"
#include "windows/dialogs/dialogparts.h"

#include <QLabel>
#include <QSpinBox>
#include "kit/pagecontroles.h"

#include <memory>

namespace {
QSpinBox *spin(QWidget *parent, const char *name, int max, const QRect &g)
{
    auto *s = new QSpinBox(parent);
    s->setObjectName(QLatin1String(name));
    s->setRange(0, max);
    s->setGeometry(g);
    return s;
}
} // namespace

TDLenEnter::TDLenEnter(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DLenEnter"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    Tag = 61;
    resize(360, 230);
    PageControl1 = new TPageControles(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(8, 8, 344, 120);
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    PageControl1->addTab(TabSheet1, QStringLiteral("Filmlänge in h/min"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Bandposition"));
    PageControl1->addTab(TabSheet3, QStringLiteral("Restspielzeit"));

    // Each label's key goes to its field.
    EH = spin(TabSheet1, "EH", 5, QRect(10, 20, 50, 23));
    MakeDialogLabel(TabSheet1, QStringLiteral("LabelH"), QStringLiteral("&Stunden"), QRect(64, 23, 60, 18))->setBuddy(EH);
    EMin = spin(TabSheet1, "EMin", 59, QRect(130, 20, 50, 23));
    MakeDialogLabel(TabSheet1, QStringLiteral("LabelMin"), QStringLiteral("&Minuten"), QRect(184, 23, 60, 18))
        ->setBuddy(EMin);

    MakeDialogLabel(TabSheet2, QStringLiteral("LabelStart"), QStringLiteral("Startposition:"), QRect(10, 8, 90, 18));
    LabSh = MakeDialogLabel(TabSheet2, QStringLiteral("LabSh"), QString(), QRect(104, 8, 60, 18));
    LabSmin = MakeDialogLabel(TabSheet2, QStringLiteral("LabSmin"), QString(), QRect(168, 8, 60, 18));
    MakeDialogLabel(TabSheet2, QStringLiteral("LabelEnd"), QStringLiteral("Endposition:"), QRect(10, 36, 90, 18));
    EEpH = spin(TabSheet2, "EEpH", 9, QRect(104, 33, 44, 23));
    MakeDialogLabel(TabSheet2, QStringLiteral("LabelEh"), QStringLiteral("h"), QRect(150, 36, 12, 18));
    EEpMin = spin(TabSheet2, "EEpMin", 59, QRect(168, 33, 44, 23));
    MakeDialogLabel(TabSheet2, QStringLiteral("LabelEmin"), QStringLiteral("min"), QRect(214, 36, 30, 18));
    RadSP = MakeDialogCheck(TabSheet2, QStringLiteral("RadSP"), QStringLiteral("&SP-Zählwerksstand"),
                            QRect(10, 62, 160, 20), 1);
    RadLP = MakeDialogCheck(TabSheet2, QStringLiteral("RadLP"), QStringLiteral("&LP-Zählwerksstand"),
                            QRect(176, 62, 160, 20), 1);

    MakeDialogLabel(TabSheet3, QStringLiteral("LabelRest"), QStringLiteral("neue Restspielzeit:"), QRect(10, 23, 120, 18));
    ERest = spin(TabSheet3, "ERest", 9999, QRect(134, 20, 60, 23));
    ERest->setMinimum(-9999);
    MakeDialogLabel(TabSheet3, QStringLiteral("LabelSP"), QStringLiteral("Minuten (SP)"), QRect(200, 23, 90, 18));

    ChkLP = MakeDialogCheck(this, QStringLiteral("ChkLP"), QStringLiteral("LP (Aufnahme im Longplay-Modus)"),
                            QRect(12, 138, 330, 20), 0);
    BitBtnHelp = MakeDialogButton(this, "BitBtnHelp", ibkHelp, QRect(12, 190, 100, 25));
    BitBtnOK = MakeDialogButton(this, "BitBtnOK", ibkOK, QRect(140, 190, 100, 25));
    BitBtnOK->setDefault(true);
    BitBtnCancel = MakeDialogButton(this, "BitBtnCancel", ibkCancel, QRect(248, 190, 100, 25), QStringLiteral("Abbruch"));
    connect(BitBtnHelp, &QPushButton::clicked, this, [] { kit::showHelp(61); });
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    connect(PageControl1, &TPageControles::currentChanged, this, [this](int i) { pageChanged(i); });
    RadSP->OnStateChange = [this](QObject *) {
        if (!m_filling && RadSP->Checked())
            counterChanged(false);
    };
    RadLP->OnStateChange = [this](QObject *) {
        if (m_filling || !RadLP->Checked())
            return;
        if (!ChkLP->Checked()) { // the long-play counter needs a long-play recording
            RadSP->SetChecked(true);
            return;
        }
        counterChanged(true);
    };
    ChkLP->OnStateChange = [this](QObject *) {
        if (m_filling)
            return;
        m_state.longPlay = ChkLP->Checked();
        if (!m_state.longPlay && RadLP->Checked())
            RadSP->SetChecked(true);
    };
    Create();
    SetCaption(QStringLiteral("Spielzeiteingabe"));
}

void TDLenEnter::Setup(const LenEnterState &state, bool hasTape)
{
    m_state = state;
    m_hasTape = hasTape;
    m_filling = true;
    ChkLP->SetChecked(state.longPlay);
    ChkLP->setEnabled(hasTape);
    RadSP->setVisible(state.atts);
    RadLP->setVisible(state.atts);
    if (!state.atts || !state.lpCounter)
        RadSP->SetChecked(true);
    else
        RadLP->SetChecked(true);
    m_filling = false;
    fillPages();
}

void TDLenEnter::fillPages()
{
    m_filling = true;
    const LenEnterPages p = FillLenEnterPages(m_state, m_hasTape);
    EH->setValue(p.length.hours);
    EMin->setValue(p.length.minutes);
    PageControl1->setTabVisible(1, p.positionPage);
    PageControl1->setTabVisible(2, p.restPage);
    LabSh->setText(QString::number(p.start.hours) + QStringLiteral(" h"));
    LabSmin->setText(QString::number(p.start.minutes) + QStringLiteral(" min"));
    EEpH->setValue(p.end.hours);
    EEpMin->setValue(p.end.minutes);
    ERest->setValue(p.rest);
    m_filling = false;
}

void TDLenEnter::ComputeLength()
{
    LenEnterInput in;
    in.hours = EH->value();
    in.minutes = EMin->value();
    in.endHours = EEpH->value();
    in.endMinutes = EEpMin->value();
    in.rest = ERest->value();
    m_state.longPlay = ChkLP->Checked();
    const LenComputeResult r = ::ComputeLength(m_state, LenPage(m_page), in);
    if (!r.message.isEmpty())
        ShowMetalMessage(QStringLiteral("Falsche Eingabe!"), r.message);
    m_state.length = r.length;
}

void TDLenEnter::pageChanged(int index)
{
    if (m_filling)
        return;
    ComputeLength();
    m_page = index;
    fillPages();
}

void TDLenEnter::counterChanged(bool lp)
{
    const int end = HoursMinutesToMinutes(EEpH->value(), EEpMin->value());
    m_state.lpCounter = lp;
    const int start = lp ? m_state.pos.beforeUsed * 2 : m_state.pos.beforeUsed;
    const HoursMinutes s = MinutesToHoursMinutes(start);
    const HoursMinutes e = MinutesToHoursMinutes(lp ? end * 2 : end / 2);
    LabSh->setText(QString::number(s.hours) + QStringLiteral(" h"));
    LabSmin->setText(QString::number(s.minutes) + QStringLiteral(" min"));
    EEpH->setValue(e.hours);
    EEpMin->setValue(e.minutes);
}

int ExecLenEnter(int length, int tapeLength, const QPoint &screenPos, int filmNr, int mediumNr, const QString &kind,
                 bool &longPlay, const QList<TapeFilm> &films)
{
    Q_UNUSED(mediumNr);
    const bool hasTape = !KindWithoutTape(kind);
    LenEnterState s;
    s.length = length;
    s.tapeLength = hasTape ? tapeLength : 0;
    s.pos = GetTapePositions(kind, filmNr, films);
    s.longPlay = longPlay;
    s.atts = ATTS;
    auto dlg = std::unique_ptr<TDLenEnter>(CreateForm<TDLenEnter>());
    dlg->move(screenPos);
    dlg->Setup(s, hasTape);
    DeactivateMetalForm();
    const TModalResult r = kit::execDialog(*dlg);
    ReactivateMetalForm();
    if (r != mrOk)
        return length;
    dlg->ComputeLength(); // from the page the user left it on
    longPlay = dlg->State().longPlay;
    return dlg->State().length;
}
