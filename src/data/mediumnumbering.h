// Medium numbering and the record rules of the media table: how the
// numbering mode is detected, how the next free number is found (filling gaps,
// with a cache that skips the gap search while none was found), and the texts
// and decisions of the checks that run when a medium is edited, posted or
// deleted. Plain functions; the data-set layer (mediumrecords.h) runs them on
// the open tables.
#pragma once

#include <QString>

#include <optional>

// Medium numbers live in a 16-bit field; new numbers run from 1 to this.
constexpr int kMaxMediumNr = 32767;

enum class NumberingMode { PerKind, AcrossAll };

// Held by the main window: whether the last gap search (of `kind`, or any
// kind across all media) found no gap below the highest number.
struct GapCache {
    bool valid = false;
    QString kind;
    bool noGap = false;
    void clear() { valid = false; }
};

// What the gap search needs to know about the media table. Per kind the
// questions concern media of that kind; across all media, all media.
class MediumNumberSource
{
public:
    virtual ~MediumNumberSource() = default;
    // Is there a medium number 1?
    virtual bool hasNumberOne(const QString &kind) = 0;
    // The highest number, 0 when there is none.
    virtual int maxNumber(const QString &kind) = 0;
    // The lowest number of 1 or more whose successor is not taken; empty when
    // there is no number of 1 or more.
    virtual std::optional<int> lowestNumberBeforeGap(const QString &kind) = 0;
};

// The number a new medium of `kind` gets, or an error text when the numbers
// are used up to kMaxMediumNr.
struct NextNumber {
    int number = 0;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

// `kind` is cut to six characters. A valid cache with no gap gives the
// highest number + 1 without a gap search (across all media whatever kind was
// cached, per kind only for the cached kind); a stale cache therefore misses a
// gap that has opened since. The search itself considers numbers from 1 up.
NextNumber NextFreeNumber(MediumNumberSource &source, GapCache &cache, NumberingMode mode,
                          const QString &kind);

QString MediumNumbersExhaustedText();

// Mode detection after a media data set opens: the outcome of trying to set
// its index to "iNrExcl".
enum class NumberingDetection { AcrossAll, PerKind, IndexError };
constexpr int kDamagedIndexErrorCode = 0x2F02;

// `indexSet`: the index could be set. Otherwise `errorCode` is the engine's
// first error code; `onTable1` whether it happened on the medium card's data
// set. Only a damaged index (kDamagedIndexErrorCode) on the card is an error.
NumberingDetection DetectNumberingMode(bool indexSet, int errorCode, bool onTable1);
extern const char *const kIndexErrorCaption;
QString IndexErrorText(const QString &engineMessage);

// "den Medientyp", "die Mediennummer" or both joined by " und ".
QString KeyChangeWhat(bool kindChanged, bool nrChanged);
extern const char *const kErrorCaption;
QString KeyTakenText(bool kindChanged, bool nrChanged);
extern const char *const kKindChangeCaption;
QString KindChangeQuestion(const QString &oldKind, const QString &newKind);

// The one-film rule: a medium that holds more than one film may not become a
// bought cassette or a DVD while `oneFilmOnly` (setting dvd_kk_nur1film) is on.
bool IsOneFilmKind(const QString &kind);
bool KindChangeRefused(const QString &newKind, int filmCount, bool oneFilmOnly);
QString OneFilmRuleText();

// A lending date without a borrower is not kept.
bool LendingDateNeedsCorrection(bool hasLendingDate, const QString &borrower);
extern const char *const kLendingCorrectionCaption;
extern const char *const kLendingCorrectionText;

// The last medium of a database cannot be deleted.
bool LastMediumDeleteRefused(qint64 mediaCount);
extern const char *const kLastMediumText;

// Network mode: the whole film table is locked for multi-row changes.
extern const char *const kFilmLockCaption;
enum class FilmLockPurpose { KeyChange, MediumDelete, TapeOperation };
QString FilmLockFailedText(FilmLockPurpose purpose, const QString &engineMessage);
