#include "exchange/attachmentexport.h"

#include "engine/dataset.h"
#include "engine/engineerror.h"
#include "engine/field.h"
#include "exchange/exportoutput.h"
#include "exchange/exportsource.h"
#include "exchange/filmtext.h"

namespace {

QString value(engine::DataSet &s, const QString &name)
{
    engine::Field *f = s.findField(name);
    return f ? f->asString() : QString();
}

QString mediumKindName(const QString &kind)
{
    if (kind == QLatin1String("VHS-KK"))
        return QStringLiteral("Kaufkassette");
    if (kind == QLatin1String("VHS-SB"))
        return QStringLiteral("SB-Kassette");
    return kind;
}

bool isBreak(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

} // namespace

QStringList WrapMemo(const QString &memo, int width)
{
    QStringList lines;
    qsizetype pos = 0;
    const qsizetype len = memo.size();
    while (pos < len) {
        qsizetype n = qMin<qsizetype>(width, len - pos);
        // A line break within the next width characters ends the line there.
        qsizetype brk = -1;
        for (qsizetype i = pos; i < pos + n; ++i)
            if (isBreak(memo.at(i))) {
                brk = i;
                break;
            }
        if (brk >= 0) {
            n = brk - pos;
        } else if (pos + n < len && !isBreak(memo.at(pos + n))) {
            qsizetype cut = -1;
            for (qsizetype i = pos + n - 1; i >= pos; --i)
                if (memo.at(i) == QLatin1Char(' ') || memo.at(i) == QLatin1Char('-')) {
                    cut = i;
                    break;
                }
            if (cut >= 0)
                n = cut - pos + 1;
        }
        lines.append(memo.mid(pos, n));
        pos += n;
        if (pos < len && memo.at(pos) == QLatin1Char('\r'))
            ++pos;
        if (pos < len && memo.at(pos) == QLatin1Char('\n'))
            ++pos;
    }
    return lines;
}

bool ExportAttachment(AttachmentKind kind, engine::DataSet &record, const AttachmentExportOptions &options,
                      const AttachmentExportContext &context, QString *error)
{
    ExportOutput out(options.fileName, options.dosCharset ? ExportCharset::Dos : ExportCharset::Windows);
    if (!out.open(error))
        return false;
    try {
        int freeCount = 5;
        switch (kind) {
        case AttachmentKind::Film:
            freeCount = 15;
            out.writeLine(FilmTitleText(value(record, QStringLiteral("Titel")), value(record, QStringLiteral("Untertitel"))));
            if (options.playTimes) {
                engine::Field *len = record.findField(QStringLiteral("Len"));
                out.writeLine(FilmPlayTimeText(len ? len->asInteger() : 0, false, false, context.playTimeFormat));
            }
            break;
        case AttachmentKind::Person:
            freeCount = 7;
            out.writeLine(value(record, QStringLiteral("Name")));
            break;
        case AttachmentKind::Medium:
            out.writeLine(mediumKindName(value(record, QStringLiteral("Medium"))) + QStringLiteral(" Nr. ")
                          + value(record, QStringLiteral("Nr")));
            break;
        }
        out.writeLine(QString());
        for (int n = 1; n <= freeCount; ++n) {
            const QString v = value(record, QStringLiteral("Free%1").arg(n));
            if (v.isEmpty())
                continue;
            QString caption = n <= context.freeCaptions.size() ? context.freeCaptions.at(n - 1)
                                                               : QStringLiteral("Frei&%1").arg(n);
            out.writeLine(caption.remove(QLatin1Char('&')) + QStringLiteral("  ") + v);
        }
        out.writeLine(QString());
        const QString memo = value(record, QStringLiteral("Memo"));
        if (options.wrapWidth > 0) {
            for (const QString &l : WrapMemo(memo, options.wrapWidth))
                out.writeLine(l);
        } else if (!memo.isEmpty()) {
            // The memo's own line breaks stay, each as CR LF.
            QString m = memo;
            m.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
            m.replace(QLatin1String("\n"), QLatin1String("\r\n"));
            out.writeLine(m);
        }
        if (kind == AttachmentKind::Person && options.personFilms) {
            out.writeLine(QString());
            out.writeLine(context.filmsCaption);
            for (const QString &f : context.films)
                out.writeLine(f);
        }
    } catch (const engine::EngineError &e) {
        if (error)
            *error = ExportReadErrorText(e.message());
        return false;
    }
    return out.finish(error);
}
