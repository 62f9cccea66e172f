#include "windows/main/mainmenus.h"

#include "data/mediumrecords.h"
#include "dbui/datasource.h"
#include "engine/table.h"
#include "kit/pzspeedbutton.h"
#include "windows/main/mainform.h"

#include <QMenu>

namespace {

// Where a button's command comes from: the entry it shares it with.
struct ButtonTarget {
    const char *button;
    const char *target;
};
constexpr ButtonTarget kButtonTargets[] = {
    {"SpBLocateSN", "MediumzureingelegtenCDDVD1"},
    {"SpBWeb", "InternetSuche1"},
};

QString slotName(const char *prefix, int n)
{
    return QLatin1String(prefix) + QString::number(n);
}

} // namespace

TMainMenus::TMainMenus(TMainform &form) : QObject(&form), m_form(form)
{
    setObjectName(QStringLiteral("MainMenus"));
    for (const MenuTree &t : MainMenuTrees()) {
        auto *menu = m_form.findChild<QMenu *>(t.popup);
        auto *button = m_form.findChild<TPZSpeedButton *>(t.button);
        Q_ASSERT(menu && button);
        build(menu, t.items);
        connect(menu, &QMenu::aboutToShow, this, [this] { UpdateStates(); });
        m_trees.append({button, t});
    }
    // The small buttons of the tool bar's second row, right of the navigator.
    SpBQuerySub = toolButton("SpBQuerySub", QStringLiteral("SQL"), QStringLiteral("Eigene Abfragen"), 246);
    SpBLists = toolButton("SpBLists", QStringLiteral("☰"), QStringLiteral("Listen"), 272);
    SpBLocateSN = toolButton("SpBLocateSN", QStringLiteral("◎"),
                             QStringLiteral("Medium zur eingelegten CD/DVD lokalisieren (F9)"), 298);
    SpBWeb = toolButton("SpBWeb", QStringLiteral("WWW"), QStringLiteral("Internet-Suche (F10)"), 324);
    SpBWeb->resize(40, SpBWeb->height()); // room for its three letters
    SpBHelp = toolButton("SpBHelp", QStringLiteral("?"), QStringLiteral("Hilfe"), 536);
    SPBHelpIdx = toolButton("SPBHelpIdx", QStringLiteral("¶"), QStringLiteral("Hilfe-Inhalt"), 564);
    for (auto [button, tree] : {std::pair{SpBQuerySub, &QueryPopupTree()}, std::pair{SpBLists, &ListPopupTree()}}) {
        auto *menu = new QMenu(&m_form);
        menu->setObjectName(tree->popup);
        build(menu, tree->items);
        connect(menu, &QMenu::aboutToShow, this, [this] { UpdateStates(); });
        button->SetPopupMenu(menu);
        m_trees.append({button, *tree});
        (button == SpBQuerySub ? PopupMenuQuery : PopupMenuLists) = menu;
    }

    m_form.MenEditieren = Entry(QStringLiteral("MenEditieren"));
    m_form.MenBeenden = Entry(QStringLiteral("MenBeenden"));
    m_form.FilternnachRestspielzeit1 = Entry(QStringLiteral("FilternnachRestspielzeit1"));
    m_form.MediumNrLokalisieren1 = Entry(QStringLiteral("MediumNrLokalisieren1"));

    // The user's query menu is handled here in full.
    for (int n = 1; n <= FreeQueryMenuCount; ++n) {
        for (const char *p : {"FreeQueryPop", "FreeQueryMen"})
            connect(Entry(slotName(p, n)), &QAction::triggered, this, [this, n] { FreeQueryClick(n); });
        connect(Entry(slotName("FreeQueryDel", n)), &QAction::triggered, this, [this, n] { FreeQueryDelClick(n); });
    }
    connect(Entry(QStringLiteral("NeuerMenpunkt1")), &QAction::triggered, this, [this] { NeuerMenpunkt1Click(); });

    // Opening and closing the media table switches what needs a database.
    connect(m_form.DataSource1, &dbui::DataSource::stateChange, this, [this] { UpdateStates(); });
    UpdateStates();
}

TPZSpeedButton *TMainMenus::toolButton(const char *name, const QString &caption, const QString &hint, int x)
{
    auto *b = new TPZSpeedButton(&m_form);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(x, 32, 26, 24);
    b->SetCaption(caption);
    b->setToolTip(hint);
    return b;
}

void TMainMenus::build(QMenu *menu, const QList<MenuEntry> &items)
{
    for (const MenuEntry &e : items) {
        QAction *a = nullptr;
        if (e.isSeparator()) {
            menu->addSeparator();
            continue;
        }
        if (e.isSubmenu()) {
            auto *sub = new QMenu(e.caption, menu);
            sub->setObjectName(e.name + QStringLiteral("Menu"));
            build(sub, e.items);
            a = menu->addMenu(sub);
            m_submenus.insert(e.name, sub);
        } else if (e.querySlot < 0) {
            a = menu->addSeparator();
        } else {
            a = menu->addAction(e.caption);
            a->setCheckable(e.checkable);
        }
        a->setObjectName(e.name);
        if (!e.key.isEmpty()) {
            // The keys are the card's own (TMainCommands); the menu only shows them.
            a->setShortcut(e.key);
            a->setShortcutContext(Qt::WidgetShortcut);
        }
        a->setEnabled(false);
        m_entries.insert(e.name, a);
    }
}

QAction *TMainMenus::Entry(const QString &name) const
{
    return m_entries.value(name);
}

QMenu *TMainMenus::Submenu(const QString &name) const
{
    return m_submenus.value(name);
}

void TMainMenus::Wire(const QString &name, std::function<void()> handler)
{
    std::function<void()> h = std::move(handler);
    std::function<void(const QList<MenuEntry> &)> connectAll = [&](const QList<MenuEntry> &items) {
        for (const MenuEntry &e : items) {
            if (e.isSubmenu())
                connectAll(e.items);
            else if (!e.isSeparator() && e.targetName() == name)
                connect(Entry(e.name), &QAction::triggered, this, h);
        }
    };
    for (const auto &t : std::as_const(m_trees))
        connectAll(t.second.items);
    for (const ButtonTarget &b : kButtonTargets)
        if (name == QLatin1String(b.target))
            connect(m_form.findChild<TPZSpeedButton *>(QLatin1String(b.button)), &TPZSpeedButton::Click, this, h);
    m_wired.insert(name);
    m_handlers.insert(name, h);
    UpdateStates();
}

bool TMainMenus::Run(const QString &name)
{
    const auto h = m_handlers.value(name);
    if (!h)
        return false;
    h();
    return true;
}

MenuState TMainMenus::State() const
{
    MenuState s;
    s.mediaOpen = m_form.Table1->active();
    s.editing = m_form.Editing();
    if (s.mediaOpen && !m_form.Table1->isEmpty())
        if (engine::Field *f = m_form.Table1->findField(QStringLiteral("Medium")))
            s.kind = f->asString();
    s.dvdKkNur1Film = dvd_kk_nur1film;
    s.wired = m_wired;
    return s;
}

void TMainMenus::apply(const QList<MenuEntry> &items, const MenuState &s, MenuNeed inherited)
{
    for (const MenuEntry &e : items) {
        if (e.isSeparator() || e.querySlot != 0)
            continue;
        Entry(e.name)->setEnabled(MenuEntryEnabled(e, s, inherited));
        if (e.isSubmenu())
            apply(e.items, s, StrongerNeed(e.need, inherited));
    }
}

void TMainMenus::ShowNumberingMenu(NumberingMenuState s)
{
    Entry(QStringLiteral("MenNumAlleMedien"))->setChecked(s == NumberingMenuState::AcrossAll);
    Entry(QStringLiteral("MenNumProMedTyp"))->setChecked(s == NumberingMenuState::PerKind);
}

void TMainMenus::UpdateStates()
{
    const MenuState s = State();
    for (const auto &t : std::as_const(m_trees)) {
        t.first->setEnabled(MenuNeedMet(t.second.need, s));
        apply(t.second.items, s, t.second.need);
    }
    for (const ButtonTarget &b : kButtonTargets)
        m_form.findChild<TPZSpeedButton *>(QLatin1String(b.button))
            ->setEnabled(s.mediaOpen && s.wired.contains(QLatin1String(b.target)));
    updateChecks();
    ShowFreeQueryMenu();
}

void TMainMenus::updateChecks()
{
    auto mark = [this](const char *name, bool on) { Entry(QLatin1String(name))->setChecked(on); };
    mark("MenEditieren", m_form.Editing());
    mark("FilternnachRestspielzeit1", m_form.Table1->active() && m_form.Table1->filtered());
    mark("Men_dvd_kk_nur1film", dvd_kk_nur1film);
    mark("Filme1bis5bercksichtigen1", bRest1bis4);
    mark("AlleFilmebercksichtigen1", !bRest1bis4);
    mark("ATTSZhlwerk1", ATTS);
    mark("KumulativSPLP1", !ATTS);
}

// ---- the user's query menu ---------------------------------------------------------

void TMainMenus::ShowFreeQueryMenu()
{
    const QueryMenuStates st = QueryMenuStatesOf(FreeQueryMenu, bool(ExecStoredQueryDialog), bool(RunQuerySQL));
    for (int n = 1; n <= FreeQueryMenuCount; ++n) {
        const TFreeQueryMenuEntry &slot = FreeQueryMenu[n - 1];
        for (const char *p : {"FreeQueryPop", "FreeQueryMen", "FreeQueryDel"}) {
            QAction *a = Entry(slotName(p, n));
            a->setText(slot.Caption);
            a->setVisible(slot.Enabled);
            a->setEnabled(qstrcmp(p, "FreeQueryDel") == 0 || st.runEnabled);
        }
    }
    Entry(QStringLiteral("FreeQuerySep"))->setVisible(st.separatorVisible);
    Entry(QStringLiteral("FreeQueryPopSep"))->setVisible(st.separatorVisible);
    Entry(QStringLiteral("NeuerMenpunkt1"))->setEnabled(st.newEnabled);
    Entry(QStringLiteral("Menpunktlschen1"))->setEnabled(st.deleteEnabled);
    // "&Eigene Abfragen" (in "&Suche", which needs a database) when it holds
    // anything to choose.
    Entry(QStringLiteral("EigeneAbfragen1"))
        ->setEnabled(m_form.Table1->active() && (st.separatorVisible || st.newEnabled));
}

void TMainMenus::NeuerMenpunkt1Click()
{
    if (!ExecStoredQueryDialog)
        return;
    QString fileName, sql;
    if (!ExecStoredQueryDialog(fileName, sql))
        return;
    const int n = FirstFreeQuerySlot(FreeQueryMenu);
    if (n == 0)
        return;
    FreeQueryMenu[n - 1] = TFreeQueryMenuEntry{sql, QueryCaptionFromFile(fileName), true};
    SaveFreeQueryMenuItem(n);
    ShowFreeQueryMenu();
}

void TMainMenus::FreeQueryClick(int slot)
{
    if (slot < 1 || slot > FreeQueryMenuCount || !FreeQueryMenu[slot - 1].Enabled || !RunQuerySQL)
        return;
    RunQuerySQL(FreeQueryMenu[slot - 1].SQL);
}

void TMainMenus::FreeQueryDelClick(int slot)
{
    if (slot < 1 || slot > FreeQueryMenuCount)
        return;
    FreeQueryMenu[slot - 1].Enabled = false;
    SaveFreeQueryMenuItem(slot);
    ShowFreeQueryMenu();
}
