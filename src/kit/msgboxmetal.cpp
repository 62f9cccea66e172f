#include "kit/msgboxmetal.h"

#include "kit/presenter.h"
#include "kit/pzlabel.h"

#include <QApplication>
#include <QPushButton>
#include <memory>

TWMsgBoxMetal *WMsgBoxMetal = nullptr;

TWMsgBoxMetal::TWMsgBoxMetal(QWidget *parent)
    : TMetalBoxBase(parent)
{
    setObjectName(QStringLiteral("WMsgBoxMetal"));
    setModal(true);
    setFixedSize(420, 147);

    PZLabel1 = new TPZLabel(this);
    PZLabel1->setObjectName(QStringLiteral("PZLabel1"));
    PZLabel1->setGeometry(10, 6, 401, 105);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(13);
    PZLabel1->setFont(f);
    PZLabel1->SetHorzAlignment(haCenter);
    PZLabel1->SetVertAlignment(vaCenter);

    OzoNewButton1 = new QPushButton(QStringLiteral("OK"), this);
    OzoNewButton1->setObjectName(QStringLiteral("OzoNewButton1"));
    OzoNewButton1->setGeometry(160, 118, 100, 21);
    OzoNewButton1->setDefault(true);
    connect(OzoNewButton1, &QPushButton::clicked, this, [this] { done(mrOk); });
}

QString DoubleBackslashes(const QString &s)
{
    QString out;
    out.reserve(s.size() + 8);
    for (const QChar c : s) {
        out.append(c);
        if (c == QLatin1Char('\\'))
            out.append(c);
    }
    return out;
}

void ShowMetalMessage(const QString &Caption, const QString &Text, bool escapeBackslashes)
{
    std::unique_ptr<TWMsgBoxMetal> box(new TWMsgBoxMetal(QApplication::activeWindow()));
    WMsgBoxMetal = box.get();
    box->SetCaption(Caption);
    box->PZLabel1->SetCaption(escapeBackslashes ? DoubleBackslashes(Text) : Text);

    kit::BoxInfo info;
    info.kind = QStringLiteral("TWMsgBoxMetal");
    info.objectName = box->objectName();
    info.caption = Caption;
    info.text = box->PZLabel1->Caption();
    info.buttons = QStringList{box->OzoNewButton1->text()};
    info.defaultResult = mrOk;
    kit::execDialog(*box, info);
    WMsgBoxMetal = nullptr;
}
