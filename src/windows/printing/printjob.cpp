#include "windows/printing/printjob.h"

#include "kit/presenter.h"

#include <QFile>
#include <QFileInfo>
#include <QPrinter>

QPrinter &ProgramPrinter()
{
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

bool EnsurePrintTarget(QWidget *owner)
{
    QPrinter &p = ProgramPrinter();
    if (p.outputFormat() == QPrinter::NativeFormat && !p.printerName().isEmpty() && p.outputFileName().isEmpty())
        return true;
    kit::FileRequest req;
    req.mode = kit::FileMode::Save; // asks before it replaces a file
    req.caption = QStringLiteral("Druck in PDF-Datei");
    if (!p.outputFileName().isEmpty()) {
        const QFileInfo last(p.outputFileName());
        req.folder = last.absolutePath();
        req.fileName = last.fileName();
    }
    req.filter = QStringLiteral("PDF-Dateien (*.pdf);;Alle Dateien (*)");
    req.defaultSuffix = QStringLiteral("pdf");
    req.parent = owner;
    const QString file = kit::chooseFile(req);
    if (file.isEmpty())
        return false;
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(file);
    return true;
}

TPrintJob::TPrintJob(QPrinter &printer, QObject *parent) : QObject(parent), m_printer(printer) {}

TPrintJob::~TPrintJob()
{
    if (m_printing)
        abort();
}

bool TPrintJob::begin(const QString &title)
{
    m_printer.setDocName(title);
    m_printer.setFullPage(true);
    if (!m_painter.begin(&m_printer)) {
        abort();
        return false;
    }
    m_printing = true;
    return true;
}

bool TPrintJob::newPage()
{
    return m_printing && !m_aborted && m_printer.newPage();
}

bool TPrintJob::end()
{
    if (!m_printing)
        return false;
    m_printing = false;
    const bool ok = m_painter.end() && !m_aborted && m_printer.printerState() != QPrinter::Error;
    if (!ok) {
        m_aborted = true;
        removeOutput();
    }
    return ok;
}

void TPrintJob::abort()
{
    m_aborted = true;
    if (m_printing) {
        m_printing = false;
        m_printer.abort();
        if (m_painter.isActive())
            m_painter.end();
    }
    removeOutput();
    emit jobAborted();
}

void TPrintJob::removeOutput()
{
    const QString file = m_printer.outputFileName();
    if (!file.isEmpty() && m_printer.outputFormat() == QPrinter::PdfFormat)
        QFile::remove(file);
}
