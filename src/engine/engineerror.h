// Errors of the table store: one exception type with a numeric code and a
// German text that callers show in the standard error box, and the silent
// abort that cancels the running operation without any message.
#pragma once

#include <QString>
#include <exception>
#include <string>

namespace engine {

// Codes callers test by number. 0x2F02 is the one the numbering detection
// reads as "the named index is there but cannot be used".
enum ErrorCode : int {
    ErrGeneral = 0x2100,
    ErrNotFound = 0x2101,        // table file does not exist
    ErrNotATable = 0x2102,       // foreign, empty, truncated or damaged file
    ErrOldParadox = 0x2103,      // a Paradox table of an older program version
    ErrPassword = 0x2104,        // protected table, no valid password
    ErrIo = 0x2105,              // file system refused
    ErrLocked = 0x2801,          // table locked or busy in another process
    ErrInUse = 0x2802,           // exclusive use refused, table open elsewhere
    ErrKeyViolation = 0x2601,
    ErrRequired = 0x2602,        // required field without a value
    ErrInvalidValue = 0x2603,    // value outside the field's range or type
    ErrReadOnly = 0x2A04,
    ErrNotEditing = 0x2A05,      // field write outside edit/insert
    ErrClosed = 0x2A06,          // operation needs an open data set
    ErrOpen = 0x2A07,            // operation needs a closed data set
    ErrEmpty = 0x2A08,           // operation needs a record
    ErrFieldNotFound = 0x2A09,
    ErrNoPrimaryIndex = 0x2A0A,
    ErrRecordGone = 0x2A0B,      // the record was deleted by another user
    ErrRecordChanged = 0x2A0C,   // another user changed the record while it was edited
    ErrIndexNotFound = 0x2726,   // the named index does not exist
    ErrIndexDamaged = 0x2F02,    // the named index exists but cannot be used
    ErrNeedExclusive = 0x2727,   // index operation on a table not opened exclusively
    ErrSql = 0x2E00,             // statement refused by the store
};

class EngineError : public std::exception {
public:
    EngineError(int code, QString message);
    int code() const { return m_code; }
    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.c_str(); }

private:
    int m_code;
    QString m_message;
    std::string m_utf8;
};

// Thrown by event handlers (and by the store on their behalf) to abandon the
// running operation silently; the operation that started it swallows it.
class Abort : public std::exception {
public:
    const char *what() const noexcept override { return "Abort"; }
};

[[noreturn]] void raise(int code, const QString &message);

// The refusal of a post over a record another user changed meanwhile.
EngineError recordChanged(const QString &tableName);
[[noreturn]] inline void abortSilently() { throw Abort(); }

} // namespace engine
