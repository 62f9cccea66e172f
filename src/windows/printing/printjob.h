// A print job on the program's printer: a CUPS queue or a PDF file. The job
// keeps its own state, since a PDF job cannot be aborted through QPrinter:
// an aborted or failed job stops drawing and removes its partly written
// file. The page is used full-page, in paper coordinates.
#pragma once

#include <QObject>
#include <QPainter>
#include <QString>

class QPrinter;
class QWidget;

// The printer all printouts use; "&Drucker..." sets it up.
QPrinter &ProgramPrinter();

// Before a printout that shows no printer dialog: a printer set up is used
// as it is; a file (the printer writes PDF, or no printer is set up) is
// chosen or confirmed by the user each time, the last one proposed, and an
// existing file is replaced only when the user agrees. False when the user
// cancelled.
bool EnsurePrintTarget(QWidget *owner);

class TPrintJob : public QObject
{
    Q_OBJECT
public:
    explicit TPrintJob(QPrinter &printer, QObject *parent = nullptr);
    ~TPrintJob() override;

    QPrinter &printer() { return m_printer; }
    // BeginDoc with the job title; false (job aborted) when the device
    // cannot be opened.
    bool begin(const QString &title);
    bool newPage();
    // EndDoc; false when the job was aborted or the device failed, and then
    // no file is left behind.
    bool end();
    void abort();

    bool aborted() const { return m_aborted; }
    // Between begin and end (EndDoc has not run).
    bool printing() const { return m_printing; }
    QPainter &painter() { return m_painter; }

signals:
    // The job was given up: cancelled, not begun, or dropped by its owner
    // before its end (an error on the way).
    void jobAborted();

private:
    void removeOutput();
    QPrinter &m_printer;
    QPainter m_painter;
    bool m_aborted = false, m_printing = false;
};
