// A typed key/value store in place of the Windows registry. Keys form a tree
// ("Software\Ozo-Software\TARVO\NrEtiFt"); each value keeps its kind: string,
// binary (of a given length) or 32-bit number (DWORD). Key and value names are
// compared without regard to case but keep the case they were written with.
//
// One store file per root: the per-user root lives under the XDG config
// folder, the per-machine root in a system-wide file where that is writable,
// else in a per-user fallback. Tests point both roots elsewhere.
//
// Every write goes to disk at once through a temporary file and a rename; a
// failed write leaves memory and disk as they were and raises RegistryError.
// A damaged store file is never overwritten silently: it is copied aside
// first and the caller gets a German message to show.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <stdexcept>

namespace platform {

class RegistryError : public std::runtime_error
{
public:
    explicit RegistryError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

enum class RegistryRoot { CurrentUser, LocalMachine };
enum class RegValueKind { None, String, Binary, DWord };

class RegistryStore;

// Where the two roots live. Defaults: per user
// $XDG_CONFIG_HOME/Ozo-Software/TARVO/user.reg; per machine
// /var/lib/tarvo/machine.reg when that is writable (or readable and there is
// no per-user copy yet), else $XDG_CONFIG_HOME/Ozo-Software/TARVO/machine.reg.
void setUserRegistryFile(const QString &path);
void setMachineRegistryFiles(const QString &systemPath, const QString &fallbackPath);
QString userRegistryFile();
// Forgets every loaded store, so the next open reads the files anew.
void resetRegistryStores();

// A German message about a damaged store file met while loading (and where
// its copy was put); empty when none. Taking it clears it.
QString takeRegistryDamageMessage(RegistryRoot root);

// One open key at a time on a root, as the program uses its settings:
// openKey, read/write values, closeKey.
class Registry
{
public:
    explicit Registry(RegistryRoot root = RegistryRoot::CurrentUser);
    ~Registry();
    Registry(const Registry &) = delete;
    Registry &operator=(const Registry &) = delete;

    // Opens the key by its path below the root; with canCreate a missing key
    // (and its parents) is created and stored. *created tells whether it had
    // to be made. False when it is missing (or cannot be created) — then
    // lastError() says why.
    bool openKey(const QString &path, bool canCreate, bool *created = nullptr,
                 const QString &keyClass = QString());
    void closeKey();
    bool hasCurrentKey() const { return !m_path.isEmpty(); }
    QString currentPath() const { return m_path; }
    QString lastError() const { return m_lastError; }

    bool keyExists(const QString &path) const;
    QString keyClass() const;
    QStringList valueNames() const;
    QStringList subKeyNames() const;

    bool valueExists(const QString &name) const;
    RegValueKind valueKind(const QString &name) const;

    // A missing string reads as empty; another kind raises RegistryError.
    QString readString(const QString &name) const;
    // Missing or of another kind: RegistryError.
    qint32 readInteger(const QString &name) const;
    bool readBool(const QString &name) const;
    // Copies the binary value into buf (at most size bytes) and returns its
    // length; a missing value returns -1 and leaves buf as it was; another
    // kind, or a value longer than size, raises RegistryError.
    int readBinaryData(const QString &name, void *buf, int size) const;
    QByteArray readBinary(const QString &name) const;

    // Each write is stored at once; failure raises RegistryError.
    void writeString(const QString &name, const QString &value);
    void writeInteger(const QString &name, qint32 value);
    void writeBool(const QString &name, bool value);
    void writeBinaryData(const QString &name, const void *buf, int size);
    void writeBinary(const QString &name, const QByteArray &value);

    bool deleteValue(const QString &name);
    bool deleteKey(const QString &path);

private:
    friend class RegistryBatch;
    std::shared_ptr<RegistryStore> m_store;
    RegistryRoot m_root;
    QString m_path;
    mutable QString m_lastError;
};

} // namespace platform

namespace platform {

// Groups the writes made through a Registry into one store of the file:
// commit() stores them all (RegistryError on failure, and then none is kept);
// a batch left without commit() forgets its writes. Batches nest: an inner
// batch's commit() keeps its writes for the outer one, which alone writes the
// file; an inner batch left without commit() forgets only its own writes.
class RegistryBatch
{
public:
    explicit RegistryBatch(Registry &reg);
    ~RegistryBatch();
    RegistryBatch(const RegistryBatch &) = delete;
    RegistryBatch &operator=(const RegistryBatch &) = delete;
    void commit();

private:
    std::shared_ptr<RegistryStore> m_store;
    bool m_done = false;
};

} // namespace platform
