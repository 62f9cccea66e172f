#include "windows/printjob.h"

#include <QFile>
#include <QPrinter>

QPrinter &ProgramPrinter()
{
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
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
