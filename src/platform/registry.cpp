#include "platform/registry.h"

#include "platform/textfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <map>
#include <vector>

namespace platform {

namespace {

struct RegValue
{
    QString name;
    RegValueKind kind = RegValueKind::None;
    QString text;
    QByteArray bytes;
    quint32 dword = 0;
};

struct RegNode
{
    QString name;
    QString keyClass;
    std::vector<RegValue> values;
    std::map<QString, std::unique_ptr<RegNode>> children; // by folded name

    RegValue *value(const QString &n)
    {
        const QString f = n.toCaseFolded();
        for (auto &v : values)
            if (v.name.toCaseFolded() == f)
                return &v;
        return nullptr;
    }
    RegNode *child(const QString &n) const
    {
        auto it = children.find(n.toCaseFolded());
        return it == children.end() ? nullptr : it->second.get();
    }
    RegNode() = default;
    RegNode(const RegNode &) = delete;
    RegNode &operator=(const RegNode &) = delete;
    // Deep trees are taken apart level by level, never by recursion.
    ~RegNode()
    {
        std::vector<std::unique_ptr<RegNode>> doomed;
        for (auto &[k, ch] : children)
            doomed.push_back(std::move(ch));
        children.clear();
        while (!doomed.empty()) {
            std::unique_ptr<RegNode> n = std::move(doomed.back());
            doomed.pop_back();
            for (auto &[k, ch] : n->children)
                doomed.push_back(std::move(ch));
            n->children.clear();
        }
    }
    std::unique_ptr<RegNode> clone() const
    {
        auto top = std::make_unique<RegNode>();
        std::vector<std::pair<const RegNode *, RegNode *>> todo{{this, top.get()}};
        while (!todo.empty()) {
            auto [from, to] = todo.back();
            todo.pop_back();
            to->name = from->name;
            to->keyClass = from->keyClass;
            to->values = from->values;
            for (const auto &[k, ch] : from->children) {
                auto c = std::make_unique<RegNode>();
                todo.emplace_back(ch.get(), c.get());
                to->children.emplace(k, std::move(c));
            }
        }
        return top;
    }
};

// Keys nest no deeper than this (the Windows registry allows as many);
// a deeper path in a store file marks the file as damaged.
constexpr int kMaxKeyDepth = 512;

QString tooDeep()
{
    return QStringLiteral("Schlüssel mit mehr als %1 Ebenen").arg(kMaxKeyDepth);
}

QStringList splitKeyPath(const QString &path)
{
    QStringList parts;
    for (const QString &p : path.split(QLatin1Char('\\')))
        if (!p.isEmpty())
            parts.append(p);
    return parts;
}

const char *kindName(RegValueKind k)
{
    switch (k) {
    case RegValueKind::String: return "string";
    case RegValueKind::Binary: return "binary";
    case RegValueKind::DWord: return "dword";
    case RegValueKind::None: break;
    }
    return "none";
}

QString defaultConfigFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Ozo-Software/TARVO/");
}

QString g_userFile;
QString g_machineSystemFile;
QString g_machineFallbackFile;
bool g_userFileSet = false;
bool g_machineFilesSet = false;

} // namespace

class RegistryStore
{
public:
    // readPath: where the store is read from; writePath: where it is written
    // (they differ only for a read-only system-wide machine store).
    RegistryStore(QString readPath, QString writePath)
        : m_readPath(std::move(readPath)), m_writePath(std::move(writePath))
    {
        m_root = std::make_unique<RegNode>();
        load();
    }

    RegNode *root() { refreshIfChanged(); return m_root.get(); }

    RegNode *find(const QStringList &parts)
    {
        RegNode *n = root();
        for (const QString &p : parts) {
            n = n->child(p);
            if (!n)
                return nullptr;
        }
        return n;
    }

    // Runs a change on a copy of the tree and stores it; on failure memory
    // stays as it was and the German reason is thrown.
    template <typename F>
    void change(F &&f)
    {
        if (m_batchDepth > 0) {
            f(*m_root);
            return;
        }
        refreshIfChanged();
        auto backup = m_root->clone();
        f(*m_root);
        QString err;
        if (!save(&err)) {
            m_root = std::move(backup);
            throw RegistryError(err);
        }
    }

    // Batches nest: an inner one left without commit takes back its own
    // writes only; the outermost one stores them all with one write.
    void beginBatch()
    {
        if (m_batchBackups.empty())
            refreshIfChanged();
        m_batchBackups.push_back(m_root->clone());
        ++m_batchDepth;
    }

    void endBatch(bool store)
    {
        if (m_batchDepth == 0)
            return;
        --m_batchDepth;
        auto backup = std::move(m_batchBackups.back());
        m_batchBackups.pop_back();
        if (!store) {
            m_root = std::move(backup);
            return;
        }
        if (m_batchDepth > 0)
            return;
        QString err;
        if (!save(&err)) {
            m_root = std::move(backup);
            throw RegistryError(err);
        }
    }

    QString takeDamageMessage() { QString m = m_damage; m_damage.clear(); return m; }

private:
    // Reads the file. A damaged file is copied aside and the user told so
    // (takeDamageMessage). At start the settings then begin empty; when the
    // file was damaged while the program ran (reload), the settings it read
    // before stay, and the next write stores them again.
    void load(bool reload = false)
    {
        std::unique_ptr<RegNode> before = std::move(m_root);
        m_root = std::make_unique<RegNode>();
        QFileInfo fi(m_readPath);
        m_stamp = stamp(m_readPath);
        if (!fi.exists())
            return;
        const QString kept = reload ? QStringLiteral("Tarvo arbeitet mit den Einstellungen weiter, die es zuvor gelesen hat.")
                                    : QStringLiteral("Tarvo arbeitet mit den Standard-Einstellungen.");
        QString err;
        auto bytes = readFileBytes(m_readPath, &err);
        if (!bytes) {
            if (reload)
                m_root = std::move(before);
            m_damage = QStringLiteral("Ihre Einstellungen konnten nicht gelesen werden: die Datei \"%1\" kann nicht gelesen werden (%2). ")
                           .arg(m_readPath, err)
                       + kept;
            m_unreadable = true;
            return;
        }
        QString why;
        if (!parse(*bytes, &why)) {
            m_root = reload ? std::move(before) : std::make_unique<RegNode>();
            const QString aside = m_readPath + QStringLiteral(".beschaedigt-")
                                  + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
            QString copy = aside;
            for (int n = 2; QFileInfo::exists(copy) && n < 100; ++n)
                copy = aside + QStringLiteral("-%1").arg(n);
            const bool copied = QFile::copy(m_readPath, copy);
            m_damage = QStringLiteral("Ihre Einstellungen konnten nicht gelesen werden: die Datei \"%1\" ist beschädigt (%2).\r")
                           .arg(m_readPath, why);
            if (copied)
                m_damage += QStringLiteral("Die beschädigte Datei wurde unter \"%1\" aufbewahrt. ").arg(copy) + kept;
            else {
                m_damage += QStringLiteral("Sie konnte nicht gesichert werden und wird daher nicht "
                                           "überschrieben; Einstellungen werden nicht gespeichert. ")
                            + kept;
                m_unreadable = true;
            }
        }
    }

    static QString stamp(const QString &path)
    {
        QFileInfo fi(path);
        if (!fi.exists())
            return QString();
        return QString::number(fi.size()) + QLatin1Char('/')
               + QString::number(fi.lastModified().toMSecsSinceEpoch());
    }

    void refreshIfChanged()
    {
        // Within a batch the tree holds writes not yet stored: never reread.
        if (m_unreadable || m_batchDepth > 0)
            return;
        // Another program instance may have written the file meanwhile.
        if (stamp(m_readPath) != m_stamp)
            load(true);
    }

    bool parse(const QByteArray &bytes, QString *why)
    {
        QJsonParseError pe;
        const QJsonDocument doc = QJsonDocument::fromJson(bytes, &pe);
        if (pe.error != QJsonParseError::NoError || !doc.isObject()) {
            *why = QStringLiteral("kein gültiges Format");
            return false;
        }
        const QJsonObject top = doc.object();
        if (top.value(QStringLiteral("format")).toString() != QStringLiteral("Tarvo-Registry")) {
            *why = QStringLiteral("unbekannter Dateityp");
            return false;
        }
        const QJsonValue keysVal = top.value(QStringLiteral("keys"));
        if (!keysVal.isArray()) {
            *why = QStringLiteral("Schlüsselliste fehlt");
            return false;
        }
        for (const QJsonValue &kv : keysVal.toArray()) {
            if (!kv.isObject()) {
                *why = QStringLiteral("ungültiger Schlüssel");
                return false;
            }
            const QJsonObject ko = kv.toObject();
            const QStringList parts = splitKeyPath(ko.value(QStringLiteral("path")).toString());
            if (parts.isEmpty()) {
                *why = QStringLiteral("Schlüssel ohne Namen");
                return false;
            }
            if (parts.size() > kMaxKeyDepth) {
                *why = tooDeep();
                return false;
            }
            RegNode *n = m_root.get();
            for (const QString &p : parts) {
                RegNode *c = n->child(p);
                if (!c) {
                    auto nn = std::make_unique<RegNode>();
                    nn->name = p;
                    c = nn.get();
                    n->children.emplace(p.toCaseFolded(), std::move(nn));
                }
                n = c;
            }
            n->keyClass = ko.value(QStringLiteral("class")).toString();
            const QJsonValue vals = ko.value(QStringLiteral("values"));
            if (!vals.isUndefined() && !vals.isArray()) {
                *why = QStringLiteral("ungültige Werteliste");
                return false;
            }
            for (const QJsonValue &vv : vals.toArray()) {
                const QJsonObject vo = vv.toObject();
                RegValue v;
                v.name = vo.value(QStringLiteral("name")).toString();
                const QString kind = vo.value(QStringLiteral("kind")).toString();
                const QJsonValue data = vo.value(QStringLiteral("data"));
                if (kind == QLatin1String("string") && data.isString()) {
                    v.kind = RegValueKind::String;
                    v.text = data.toString();
                } else if (kind == QLatin1String("binary") && data.isString()) {
                    const QByteArray hex = data.toString().toLatin1();
                    auto res = QByteArray::fromBase64Encoding(
                        hex, QByteArray::Base64Encoding | QByteArray::AbortOnBase64DecodingErrors);
                    if (!res) {
                        *why = QStringLiteral("ungültige Binärdaten im Wert \"%1\"").arg(v.name);
                        return false;
                    }
                    v.kind = RegValueKind::Binary;
                    v.bytes = *res;
                } else if (kind == QLatin1String("dword") && data.isDouble()) {
                    const double d = data.toDouble();
                    if (d < 0 || d > 4294967295.0 || d != static_cast<double>(static_cast<qint64>(d))) {
                        *why = QStringLiteral("ungültige Zahl");
                        return false;
                    }
                    v.kind = RegValueKind::DWord;
                    v.dword = static_cast<quint32>(static_cast<qint64>(d));
                } else {
                    *why = QStringLiteral("ungültiger Wert \"%1\"").arg(v.name);
                    return false;
                }
                if (RegValue *old = n->value(v.name))
                    *old = v;
                else
                    n->values.push_back(v);
            }
        }
        return true;
    }

    // Keys in path order, each written once with its full path. A key with
    // neither values nor class that has subkeys is implied by their paths
    // and left out, so a long chain of keys is not written once per level.
    static void dump(const RegNode &top, QJsonArray &out)
    {
        std::vector<std::pair<const RegNode *, QString>> todo;
        for (auto it = top.children.rbegin(); it != top.children.rend(); ++it)
            todo.emplace_back(it->second.get(), it->second->name);
        while (!todo.empty()) {
            auto [n, path] = todo.back();
            todo.pop_back();
            if (!n->values.empty() || !n->keyClass.isEmpty() || n->children.empty())
                out.append(keyObject(*n, path));
            for (auto it = n->children.rbegin(); it != n->children.rend(); ++it)
                todo.emplace_back(it->second.get(), path + QLatin1Char('\\') + it->second->name);
        }
    }

    static QJsonObject keyObject(const RegNode &n, const QString &path)
    {
        QJsonObject ko;
        ko.insert(QStringLiteral("path"), path);
        if (!n.keyClass.isEmpty())
            ko.insert(QStringLiteral("class"), n.keyClass);
        QJsonArray vals;
        for (const RegValue &v : n.values) {
            QJsonObject vo;
            vo.insert(QStringLiteral("name"), v.name);
            vo.insert(QStringLiteral("kind"), QLatin1String(kindName(v.kind)));
            switch (v.kind) {
            case RegValueKind::String: vo.insert(QStringLiteral("data"), v.text); break;
            case RegValueKind::Binary:
                vo.insert(QStringLiteral("data"), QString::fromLatin1(v.bytes.toBase64()));
                break;
            case RegValueKind::DWord: vo.insert(QStringLiteral("data"), static_cast<double>(v.dword)); break;
            case RegValueKind::None: break;
            }
            vals.append(vo);
        }
        ko.insert(QStringLiteral("values"), vals);
        return ko;
    }

    bool save(QString *err)
    {
        if (m_unreadable) {
            *err = QStringLiteral("Die Einstellungsdatei \"%1\" ist beschädigt oder unlesbar und "
                                  "wird nicht überschrieben.").arg(m_readPath);
            return false;
        }
        QJsonArray keys;
        dump(*m_root, keys);
        QJsonObject top;
        top.insert(QStringLiteral("format"), QStringLiteral("Tarvo-Registry"));
        top.insert(QStringLiteral("version"), 1);
        top.insert(QStringLiteral("keys"), keys);
        const QByteArray bytes = QJsonDocument(top).toJson(QJsonDocument::Indented);
        const QFileInfo fi(m_writePath);
        if (!QDir().mkpath(fi.absolutePath())) {
            *err = QStringLiteral("Der Ordner \"%1\" kann nicht angelegt werden.").arg(fi.absolutePath());
            return false;
        }
        if (!writeFileBytes(m_writePath, bytes, err))
            return false;
        m_readPath = m_writePath;
        m_stamp = stamp(m_readPath);
        return true;
    }

    QString m_readPath;
    QString m_writePath;
    QString m_stamp;
    QString m_damage;
    bool m_unreadable = false;
    std::unique_ptr<RegNode> m_root;
    int m_batchDepth = 0;
    std::vector<std::unique_ptr<RegNode>> m_batchBackups; // one per open batch
};

namespace {

std::shared_ptr<RegistryStore> g_stores[2];

QString machineSystemFile()
{
    return g_machineFilesSet ? g_machineSystemFile : QStringLiteral("/var/lib/tarvo/machine.reg");
}
QString machineFallbackFile()
{
    return g_machineFilesSet ? g_machineFallbackFile : defaultConfigFolder() + QStringLiteral("machine.reg");
}

bool fileWritable(const QString &path)
{
    QFileInfo fi(path);
    if (fi.exists())
        return fi.isWritable();
    QFileInfo dir(fi.absolutePath());
    return dir.isDir() && dir.isWritable();
}

std::shared_ptr<RegistryStore> storeFor(RegistryRoot root)
{
    auto &s = g_stores[root == RegistryRoot::CurrentUser ? 0 : 1];
    if (!s) {
        if (root == RegistryRoot::CurrentUser) {
            const QString f = userRegistryFile();
            s = std::make_shared<RegistryStore>(f, f);
        } else {
            const QString sys = machineSystemFile();
            const QString fb = machineFallbackFile();
            if (QFileInfo::exists(fb))
                s = std::make_shared<RegistryStore>(fb, fb);
            else if (fileWritable(sys))
                s = std::make_shared<RegistryStore>(sys, sys);
            else if (QFileInfo::exists(sys)) // read the machine's values, keep changes per user
                s = std::make_shared<RegistryStore>(sys, fb);
            else
                s = std::make_shared<RegistryStore>(fb, fb);
        }
    }
    return s;
}

} // namespace

void setUserRegistryFile(const QString &path)
{
    g_userFile = path;
    g_userFileSet = true;
    g_stores[0].reset();
}

void setMachineRegistryFiles(const QString &systemPath, const QString &fallbackPath)
{
    g_machineSystemFile = systemPath;
    g_machineFallbackFile = fallbackPath;
    g_machineFilesSet = true;
    g_stores[1].reset();
}

QString userRegistryFile()
{
    return g_userFileSet ? g_userFile : defaultConfigFolder() + QStringLiteral("user.reg");
}

void resetRegistryStores()
{
    g_stores[0].reset();
    g_stores[1].reset();
}

QString takeRegistryDamageMessage(RegistryRoot root)
{
    return storeFor(root)->takeDamageMessage();
}

Registry::Registry(RegistryRoot root) : m_store(storeFor(root)), m_root(root) {}

Registry::~Registry() = default;

bool Registry::openKey(const QString &path, bool canCreate, bool *created, const QString &keyClass)
{
    closeKey();
    if (created)
        *created = false;
    const QStringList parts = splitKeyPath(path);
    if (parts.isEmpty()) {
        m_lastError = QStringLiteral("Leerer Schlüsselname.");
        return false;
    }
    if (parts.size() > kMaxKeyDepth) {
        m_lastError = QStringLiteral("Der Schlüssel \"%1\" ist zu tief verschachtelt (%2).").arg(path, tooDeep());
        return false;
    }
    if (m_store->find(parts)) {
        m_path = parts.join(QLatin1Char('\\'));
        return true;
    }
    if (!canCreate) {
        m_lastError = QStringLiteral("Der Schlüssel \"%1\" existiert nicht.").arg(path);
        return false;
    }
    try {
        m_store->change([&](RegNode &root) {
            RegNode *n = &root;
            for (const QString &p : parts) {
                RegNode *c = n->child(p);
                if (!c) {
                    auto nn = std::make_unique<RegNode>();
                    nn->name = p;
                    nn->keyClass = keyClass;
                    c = nn.get();
                    n->children.emplace(p.toCaseFolded(), std::move(nn));
                }
                n = c;
            }
        });
    } catch (const RegistryError &e) {
        m_lastError = e.message();
        return false;
    }
    if (created)
        *created = true;
    m_path = parts.join(QLatin1Char('\\'));
    return true;
}

RegistryBatch::RegistryBatch(Registry &reg) : m_store(reg.m_store)
{
    m_store->beginBatch();
}

RegistryBatch::~RegistryBatch()
{
    if (!m_done)
        m_store->endBatch(false);
}

void RegistryBatch::commit()
{
    m_done = true;
    m_store->endBatch(true);
}

void Registry::closeKey()
{
    m_path.clear();
}

bool Registry::keyExists(const QString &path) const
{
    return m_store->find(splitKeyPath(path)) != nullptr;
}

static RegNode *currentNode(RegistryStore &store, const QString &path)
{
    if (path.isEmpty())
        throw RegistryError(QStringLiteral("Kein Registry-Schlüssel geöffnet."));
    RegNode *n = store.find(splitKeyPath(path));
    if (!n)
        throw RegistryError(QStringLiteral("Der Schlüssel \"%1\" existiert nicht mehr.").arg(path));
    return n;
}

QString Registry::keyClass() const
{
    return currentNode(*m_store, m_path)->keyClass;
}

QStringList Registry::valueNames() const
{
    QStringList out;
    for (const RegValue &v : currentNode(*m_store, m_path)->values)
        out.append(v.name);
    return out;
}

QStringList Registry::subKeyNames() const
{
    QStringList out;
    for (const auto &[k, ch] : currentNode(*m_store, m_path)->children)
        out.append(ch->name);
    return out;
}

bool Registry::valueExists(const QString &name) const
{
    return valueKind(name) != RegValueKind::None;
}

RegValueKind Registry::valueKind(const QString &name) const
{
    if (m_path.isEmpty())
        return RegValueKind::None;
    RegNode *n = m_store->find(splitKeyPath(m_path));
    if (!n)
        return RegValueKind::None;
    RegValue *v = n->value(name);
    return v ? v->kind : RegValueKind::None;
}

static QString wrongKind(const QString &name)
{
    return QStringLiteral("Ungültiger Datentyp für den Registry-Wert \"%1\".").arg(name);
}

QString Registry::readString(const QString &name) const
{
    RegValue *v = currentNode(*m_store, m_path)->value(name);
    if (!v)
        return QString();
    if (v->kind != RegValueKind::String)
        throw RegistryError(wrongKind(name));
    return v->text;
}

qint32 Registry::readInteger(const QString &name) const
{
    RegValue *v = currentNode(*m_store, m_path)->value(name);
    if (!v)
        throw RegistryError(QStringLiteral("Der Registry-Wert \"%1\" fehlt.").arg(name));
    if (v->kind != RegValueKind::DWord)
        throw RegistryError(wrongKind(name));
    return static_cast<qint32>(v->dword);
}

bool Registry::readBool(const QString &name) const
{
    return readInteger(name) != 0;
}

int Registry::readBinaryData(const QString &name, void *buf, int size) const
{
    RegValue *v = currentNode(*m_store, m_path)->value(name);
    if (!v)
        return -1;
    if (v->kind != RegValueKind::Binary)
        throw RegistryError(wrongKind(name));
    if (v->bytes.size() > size)
        throw RegistryError(QStringLiteral("Der Registry-Wert \"%1\" ist zu groß.").arg(name));
    if (!v->bytes.isEmpty())
        memcpy(buf, v->bytes.constData(), static_cast<size_t>(v->bytes.size()));
    return static_cast<int>(v->bytes.size());
}

QByteArray Registry::readBinary(const QString &name) const
{
    RegValue *v = currentNode(*m_store, m_path)->value(name);
    if (!v)
        return QByteArray();
    if (v->kind != RegValueKind::Binary)
        throw RegistryError(wrongKind(name));
    return v->bytes;
}

static void putValue(RegistryStore &store, const QString &path, const RegValue &nv)
{
    currentNode(store, path);
    const QStringList parts = splitKeyPath(path);
    store.change([&](RegNode &root) {
        RegNode *n = &root;
        for (const QString &p : parts)
            n = n->child(p);
        if (RegValue *old = n->value(nv.name)) {
            const QString keepName = old->name;
            *old = nv;
            old->name = keepName;
        } else {
            n->values.push_back(nv);
        }
    });
}

void Registry::writeString(const QString &name, const QString &value)
{
    RegValue v;
    v.name = name;
    v.kind = RegValueKind::String;
    v.text = value;
    putValue(*m_store, m_path, v);
}

void Registry::writeInteger(const QString &name, qint32 value)
{
    RegValue v;
    v.name = name;
    v.kind = RegValueKind::DWord;
    v.dword = static_cast<quint32>(value);
    putValue(*m_store, m_path, v);
}

void Registry::writeBool(const QString &name, bool value)
{
    writeInteger(name, value ? 1 : 0);
}

void Registry::writeBinaryData(const QString &name, const void *buf, int size)
{
    writeBinary(name, QByteArray(static_cast<const char *>(buf), size));
}

void Registry::writeBinary(const QString &name, const QByteArray &value)
{
    RegValue v;
    v.name = name;
    v.kind = RegValueKind::Binary;
    v.bytes = value;
    putValue(*m_store, m_path, v);
}

bool Registry::deleteValue(const QString &name)
{
    if (!valueExists(name))
        return false;
    const QStringList parts = splitKeyPath(m_path);
    try {
        m_store->change([&](RegNode &root) {
            RegNode *n = &root;
            for (const QString &p : parts)
                n = n->child(p);
            const QString f = name.toCaseFolded();
            std::erase_if(n->values, [&](const RegValue &v) { return v.name.toCaseFolded() == f; });
        });
    } catch (const RegistryError &e) {
        m_lastError = e.message();
        return false;
    }
    return true;
}

bool Registry::deleteKey(const QString &path)
{
    const QStringList parts = splitKeyPath(path);
    if (parts.isEmpty() || !m_store->find(parts))
        return false;
    try {
        m_store->change([&](RegNode &root) {
            RegNode *n = &root;
            for (int i = 0; i + 1 < parts.size(); ++i)
                n = n->child(parts[i]);
            n->children.erase(parts.last().toCaseFolded());
        });
    } catch (const RegistryError &e) {
        m_lastError = e.message();
        return false;
    }
    if (!m_path.isEmpty() && !m_store->find(splitKeyPath(m_path)))
        m_path.clear();
    return true;
}

} // namespace platform
