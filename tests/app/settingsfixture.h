// A settings store, per-user folder and program folder of their own for each
// test, and a scripted presenter that answers every box (the user dialogs of
// the layers without windows reach it through the program's implementation).
#pragma once

#include "app/settings.h"
#include "kit/scriptedpresenter.h"
#include "platform/registry.h"
#include "program/programdialogs.h"

#include <QDir>
#include <QTemporaryDir>
#include <memory>

struct SettingsFixture
{
    std::unique_ptr<QTemporaryDir> dir;
    ProgramDialogs dialogs;
    std::unique_ptr<kit::ScriptedPresenter> presenter;

    QString path(const QString &name) const { return dir->filePath(name); }

    void setUp()
    {
        presenter.reset();
        dir = std::make_unique<QTemporaryDir>();
        QDir().mkpath(path(QStringLiteral("prog")));
        QDir().mkpath(path(QStringLiteral("data")));
        platform::setUserRegistryFile(path(QStringLiteral("config/user.reg")));
        platform::setMachineRegistryFiles(path(QStringLiteral("nosys/machine.reg")),
                                          path(QStringLiteral("config/machine.reg")));
        InitSettingsDefaults(path(QStringLiteral("prog")));
        SetProfileBaseDir(path(QStringLiteral("data")));
        presenter = std::make_unique<kit::ScriptedPresenter>();
    }

    // Captions of the boxes shown so far.
    QStringList captions() const
    {
        QStringList c;
        for (const auto &b : presenter->shown())
            c << b.caption;
        return c;
    }

    // The user's main key, created when missing.
    static void seed(const std::function<void(platform::Registry &)> &f,
                     const QString &key = QStringLiteral("Software\\Ozo-Software\\TARVO"))
    {
        platform::Registry r;
        r.openKey(key, true);
        f(r);
    }
    static void seedByte(platform::Registry &r, const char *name, quint8 b)
    {
        r.writeBinaryData(QLatin1String(name), &b, 1);
    }
    // Everything a complete store of a returning user holds, so that only
    // what a test changes can fail.
    static void seedReturningUser()
    {
        seed([](platform::Registry &r) {
            r.writeString(QStringLiteral("FirstRun"), QStringLiteral("No"));
            r.writeString(QStringLiteral("UpdChk"), QStringLiteral("no"));
            r.writeBool(QStringLiteral("ListUseKategFont"), false);
            r.writeBool(QStringLiteral("ATTS"), true);
            r.writeBool(QStringLiteral("dvd_kk_nur1film"), true);
            r.writeBool(QStringLiteral("AutoMahnliste"), false);
            r.writeBool(QStringLiteral("ErsterVerleih"), true);
            r.writeInteger(QStringLiteral("NetRefreshInterval"), 30);
        });
    }
};
