// The base of the shared boxes (message, input and wait box).
#pragma once

#include "kit/markup.h"
#include "kit/modalresult.h"

#include <QDialog>

class TMetalBoxBase : public QDialog
{
    Q_OBJECT
public:
    explicit TMetalBoxBase(QWidget *parent = nullptr) : QDialog(parent) {}
    virtual void SetCaption(const QString &s) { setWindowTitle(StripMarkup(s)); }
    QString GetCaptionText() const { return windowTitle(); }
};
