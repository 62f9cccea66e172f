#include "kit/systemmessagebox.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace kit {

QList<TModalResult> SystemMessageBox::resultsOf(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok: return {mrOk};
    case MsgButtons::OkCancel: return {mrOk, mrCancel};
    case MsgButtons::YesNo: return {mrYes, mrNo};
    case MsgButtons::YesNoCancel: return {mrYes, mrNo, mrCancel};
    case MsgButtons::RetryCancel: return {mrRetry, mrCancel};
    case MsgButtons::AbortRetryIgnore: return {mrAbort, mrRetry, mrIgnore};
    }
    return {mrOk};
}

QString SystemMessageBox::captionOf(TModalResult result)
{
    switch (result) {
    case mrOk: return QStringLiteral("OK");
    case mrCancel: return QStringLiteral("Abbrechen");
    case mrYes: return QStringLiteral("&Ja");
    case mrNo: return QStringLiteral("&Nein");
    case mrRetry: return QStringLiteral("&Wiederholen");
    case mrAbort: return QStringLiteral("&Abbrechen");
    case mrIgnore: return QStringLiteral("&Ignorieren");
    default: return QString();
    }
}

SystemMessageBox::SystemMessageBox(const QString &text, const QString &caption, MsgButtons buttons,
                                   BoxIcon icon, int defaultButton, QWidget *parent)
    : QDialog(parent), m_results(resultsOf(buttons))
{
    setObjectName(QStringLiteral("MessageBox"));
    setWindowTitle(caption);
    setModal(true);

    auto *top = new QHBoxLayout;
    QStyle::StandardPixmap sp = QStyle::SP_CustomBase;
    switch (icon) {
    case BoxIcon::Information: sp = QStyle::SP_MessageBoxInformation; break;
    case BoxIcon::Warning: sp = QStyle::SP_MessageBoxWarning; break;
    case BoxIcon::Error: sp = QStyle::SP_MessageBoxCritical; break;
    case BoxIcon::Question: sp = QStyle::SP_MessageBoxQuestion; break;
    case BoxIcon::None: break;
    }
    if (sp != QStyle::SP_CustomBase) {
        auto *iconLabel = new QLabel(this);
        iconLabel->setObjectName(QStringLiteral("Icon"));
        const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        iconLabel->setPixmap(style()->standardIcon(sp, nullptr, this).pixmap(size, size));
        iconLabel->setAlignment(Qt::AlignTop);
        top->addWidget(iconLabel);
    }
    // The program's texts break lines with a carriage return; the label
    // breaks at line feeds.
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    auto *textLabel = new QLabel(shown, this);
    textLabel->setObjectName(QStringLiteral("Text"));
    textLabel->setTextFormat(Qt::PlainText);
    textLabel->setWordWrap(true);
    textLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    top->addWidget(textLabel, 1);

    auto *row = new QHBoxLayout;
    row->addStretch(1);
    for (int i = 0; i < m_results.size(); ++i) {
        const TModalResult r = m_results.at(i);
        auto *b = new QPushButton(captionOf(r), this);
        b->setObjectName(QStringLiteral("Button%1").arg(i + 1));
        connect(b, &QPushButton::clicked, this, [this, r] { done(r); });
        row->addWidget(b);
        m_buttons.append(b);
    }
    row->addStretch(1);
    const int def = (defaultButton >= 0 && defaultButton < m_buttons.size()) ? defaultButton : 0;
    m_buttons.at(def)->setDefault(true);
    m_buttons.at(def)->setFocus();

    // Esc closes the box only where the box has an answer for it, as the
    // system's box does: Cancel, or the single OK.
    if (m_results.contains(mrCancel))
        m_escape = mrCancel;
    else if (m_results == QList<TModalResult>{mrOk})
        m_escape = mrOk;

    auto *outer = new QVBoxLayout(this);
    outer->addLayout(top);
    outer->addLayout(row);
}

QStringList SystemMessageBox::buttonCaptions() const
{
    QStringList out;
    for (const QPushButton *b : m_buttons)
        out << b->text();
    return out;
}

void SystemMessageBox::reject()
{
    if (m_escape != mrNone)
        done(m_escape);
}

} // namespace kit
