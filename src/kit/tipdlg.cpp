#include "kit/tipdlg.h"

#include "kit/kitresources.h"
#include "kit/presenter.h"
#include "platform/inifile.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>

namespace kit {

TipRandom DefaultTipRandom()
{
    return [](int n) { return n <= 0 ? 0 : int(QRandomGenerator::global()->bounded(n)); };
}

static int draw(const TipRandom &rnd, int n)
{
    if (n <= 0)
        return 0;
    const int r = rnd ? rnd(n) : DefaultTipRandom()(n);
    return r < 0 || r >= n ? 0 : r;
}

int TipStartIndex(int count, bool random, const TipRandom &rnd)
{
    if (count <= 0)
        return -1;
    return random ? draw(rnd, count - 1) : -1;
}

int TipNextIndex(int count, int current, bool random, const TipRandom &rnd)
{
    if (count <= 0)
        return -1;
    if (random) {
        int r = draw(rnd, count - 1);
        if (r == current && count > 1)
            ++r;
        return r;
    }
    const int next = current + 1;
    return next >= count || next < 0 ? 0 : next;
}

int TipPrevIndex(int count, int current)
{
    if (count <= 0)
        return -1;
    const int prev = current - 1;
    return prev < 0 || prev >= count ? count - 1 : prev;
}

QString TipShownText(const QString &tip, const QString &substitute)
{
    if (substitute.isEmpty())
        return tip;
    QString s = tip;
    return s.replace(substitute, QStringLiteral("\r\n"));
}

QStringList ReadTipsFromIni(const QString &fileName, const QString &section)
{
    QStringList tips;
    if (fileName.isEmpty() || section.isEmpty() || !QFileInfo::exists(fileName))
        return tips;
    platform::IniFile ini(fileName);
    if (!ini.load())
        return tips;
    for (const auto &entry : ini.sectionValues(section))
        tips << entry.second;
    return tips;
}

QStringList ReadTipsFromRegistry(platform::RegistryRoot root, const QString &key)
{
    QStringList tips;
    if (key.isEmpty())
        return tips;
    platform::Registry reg(root);
    try {
        if (!reg.openKey(key, false))
            return tips;
        for (const QString &name : reg.valueNames())
            if (reg.valueKind(name) == platform::RegValueKind::String)
                tips << reg.readString(name);
    } catch (const platform::RegistryError &) {
        // A damaged store gives no tips; the window shows empty.
    }
    reg.closeKey();
    return tips;
}

TTipsForm::TTipsForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TipsForm"));
    setWindowTitle(QStringLiteral("Tipp des Tages"));
    setFixedSize(468, 286);
    TipPanel = new QWidget(this);
    TipPanel->setObjectName(QStringLiteral("TipPanel"));
    TipPanel->setGeometry(8, 8, 452, 206);
    TipPanel->setAutoFillBackground(true);
    Image1 = new QLabel(TipPanel);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(10, 10, 48, 48);
    TipTitleLbl = new QLabel(TipPanel);
    TipTitleLbl->setObjectName(QStringLiteral("TipTitleLbl"));
    TipTitleLbl->setGeometry(70, 10, 372, 30);
    TipLbl = new QLabel(TipPanel);
    TipLbl->setObjectName(QStringLiteral("TipLbl"));
    TipLbl->setGeometry(70, 48, 372, 150);
    TipLbl->setWordWrap(true);
    TipLbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    TipLbl->setTextFormat(Qt::PlainText);
    ShowChk = new QCheckBox(QStringLiteral("&Bei jedem Programmstart wieder einen Tipp zeigen."), this);
    ShowChk->setObjectName(QStringLiteral("ShowChk"));
    ShowChk->setGeometry(8, 222, 452, 20);
    PrevBtn = new QPushButton(QStringLiteral("&Voriger Tipp"), this);
    PrevBtn->setObjectName(QStringLiteral("PrevBtn"));
    PrevBtn->setGeometry(8, 250, 130, 28);
    NextBtn = new QPushButton(QStringLiteral("&Nächster Tipp"), this);
    NextBtn->setObjectName(QStringLiteral("NextBtn"));
    NextBtn->setGeometry(146, 250, 130, 28);
    OKBtn = new QPushButton(QStringLiteral("&OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(360, 250, 100, 28);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(NextBtn, &QPushButton::clicked, this, [this] { NextTip(); });
    connect(PrevBtn, &QPushButton::clicked, this, [this] { PrevTip(); });
}

void TTipsForm::Start(const QStringList &tips, const QString &substitute, bool random, const TipRandom &rnd)
{
    m_tips = tips;
    m_substitute = substitute;
    m_random = random;
    m_rnd = rnd;
    PrevBtn->setVisible(!random);
    if (m_tips.isEmpty()) {
        m_current = -1;
        TipLbl->clear();
        NextBtn->setEnabled(false);
        PrevBtn->setEnabled(false);
        return;
    }
    NextBtn->setEnabled(true);
    PrevBtn->setEnabled(true);
    m_current = TipStartIndex(int(m_tips.size()), m_random, m_rnd);
    NextTip();
}

void TTipsForm::NextTip()
{
    if (m_tips.isEmpty())
        return;
    m_current = TipNextIndex(int(m_tips.size()), m_current, m_random, m_rnd);
    showCurrent();
}

void TTipsForm::PrevTip()
{
    if (m_tips.isEmpty() || m_random)
        return;
    m_current = TipPrevIndex(int(m_tips.size()), m_current);
    showCurrent();
}

QString TTipsForm::ShownText() const
{
    return TipLbl->text();
}

void TTipsForm::showCurrent()
{
    if (m_current >= 0 && m_current < m_tips.size())
        TipLbl->setText(TipShownText(m_tips.at(m_current), m_substitute));
}

TQurTipDlg::TQurTipDlg()
{
    TipTitleFont = QApplication::font();
    TipTitleFont.setBold(true);
    TipTitleFont.setPixelSize(19);
    TipFont = QApplication::font();
    TipFont.setPixelSize(12);
}

// The bitmap on the panel colour: the transparent pixels show the panel.
static QPixmap tipPicture(const QColor &panel)
{
    const QPixmap bmp = LoadResourceBitmapTransparent(QStringLiteral("TIPBMP"));
    if (bmp.isNull())
        return {};
    QPixmap out(bmp.size());
    out.fill(panel);
    QPainter p(&out);
    p.drawPixmap(0, 0, bmp);
    return out;
}

bool TQurTipDlg::Execute(QWidget *mainWindow)
{
    TTipsForm form(mainWindow);
    const QColor panel = PanelColor.isValid() ? PanelColor : QApplication::palette().color(QPalette::ToolTipBase);
    QPalette pal = form.TipPanel->palette();
    pal.setColor(QPalette::Window, panel);
    form.TipPanel->setPalette(pal);
    const QPixmap pic = tipPicture(panel);
    if (!pic.isNull()) {
        form.Image1->resize(pic.size());
        form.Image1->setPixmap(pic);
    }
    form.setWindowTitle(DlgCaption.isEmpty() ? QStringLiteral("Tipp des Tages") : DlgCaption);
    switch (TipsLocation) {
    case TTipLocation::locRegistry:
        Tips = ReadTipsFromRegistry(RegistryRoot, RegistryKey);
        break;
    case TTipLocation::locINIFile:
        Tips = ReadTipsFromIni(INIFile, INISection);
        break;
    case TTipLocation::locEmbeded:
        break;
    }
    form.TipTitleLbl->setText(TipTitle.isEmpty() ? QStringLiteral("Wussten Sie schon...?") : TipTitle);
    form.ShowChk->setChecked(ShowAtStartup);
    form.TipTitleLbl->setFont(TipTitleFont);
    form.TipLbl->setFont(TipFont);
    form.Start(Tips, CRLFSubstitute, RandomTips, Random ? Random : DefaultTipRandom());
    if (Position == TQurShowPos::posFormCenter && mainWindow) {
        const QRect m = mainWindow->frameGeometry();
        form.move(m.left() + m.width() / 2 - form.width() / 2, m.top() + m.height() / 2 - form.height() / 2);
    } else if (QScreen *screen = QApplication::primaryScreen()) {
        const QRect s = screen->availableGeometry();
        form.move(s.left() + (s.width() - form.width()) / 2, s.top() + (s.height() - form.height()) / 2);
    }
    execDialog(form);
    ShowAtStartup = form.ShowChk->isChecked();
    return ShowAtStartup;
}

} // namespace kit
