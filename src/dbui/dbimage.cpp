#include "dbui/dbimage.h"

#include "dbui/errorsink.h"
#include "dbui/pictureloader.h"
#include "engine/field.h"
#include "platform/textfile.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>

namespace dbui {

DbImage::DbImage(QWidget *parent)
    : QFrame(parent)
    , FieldControl(this)
{
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::StyledPanel);
    connect(m_link, &FieldLink::dataChanged, this, &DbImage::showField);
    connect(m_link, &FieldLink::editRefused, this, &DbImage::editRefused);
}

void DbImage::setStretch(bool on)
{
    if (on != m_stretch) {
        m_stretch = on;
        if (!m_bytes.isEmpty())
            decodeShown();
        update();
    }
}

void DbImage::setCenter(bool on)
{
    if (on != m_center) {
        m_center = on;
        update();
    }
}

void DbImage::showField()
{
    engine::Field *f = field();
    const QByteArray bytes = f && !f->isNull() ? f->asBytes() : QByteArray();
    // Notices come for every record change and post; the same picture is
    // not decoded twice.
    if (bytes == m_bytes && (!bytes.isEmpty() || m_picture.isNull()))
        return;
    m_bytes = bytes;
    decodeShown();
    update();
    emit pictureChanged();
}

QSize DbImage::shownFit() const
{
    if (!m_stretch)
        return QSize();
    return (QSizeF(contentsRect().size()) * devicePixelRatioF()).toSize().expandedTo(QSize(1, 1));
}

void DbImage::decodeShown()
{
    m_decodedFit = shownFit();
    if (m_bytes.isEmpty()) {
        m_picture = QImage();
        m_error.clear();
        return;
    }
    PictureResult r = PictureLoader::decode(m_bytes, m_decodedFit);
    m_picture = std::move(r.image);
    m_error = r.error;
}

void DbImage::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    // A stretched picture that was brought down for a smaller control is
    // decoded anew for the new size.
    const QSize fit = shownFit();
    if (!m_stretch || m_bytes.isEmpty() || fit == m_decodedFit)
        return;
    const QSize had = m_picture.size();
    const bool broughtDown = had.width() >= m_decodedFit.width() || had.height() >= m_decodedFit.height();
    const bool tooLarge = had.width() > fit.width() || had.height() > fit.height();
    if (broughtDown || tooLarge)
        decodeShown();
}

void DbImage::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    if (m_picture.isNull())
        return;
    QPainter p(this);
    const QRect area = contentsRect();
    QRect target(QPoint(0, 0), m_picture.size());
    if (m_stretch) {
        target.setSize(m_picture.size().scaled(area.size(), Qt::KeepAspectRatio));
        target.moveCenter(area.center());
    } else if (m_center) {
        target.moveCenter(area.center());
    } else {
        target.moveTopLeft(area.topLeft());
    }
    p.setClipRect(area);
    p.setRenderHint(QPainter::SmoothPixmapTransform, m_stretch);
    p.drawImage(target, m_picture);
}

bool DbImage::writeBytes(const QByteArray &bytes)
{
    engine::Field *f = field();
    if (!f || !m_link->beginEdit())
        return false;
    return guarded([&] {
        if (bytes.isEmpty())
            f->clear();
        else
            f->setAsBytes(bytes);
    });
}

bool DbImage::copyToClipboard() const
{
    if (m_picture.isNull())
        return false;
    // The clipboard gets the whole picture, not the one shown.
    QApplication::clipboard()->setImage(m_decodedFit.isValid() ? PictureLoader::decode(m_bytes).image : m_picture);
    return true;
}

bool DbImage::cutToClipboard()
{
    if (m_picture.isNull())
        return false;
    if (!m_link->canModify()) {
        m_link->beginEdit(); // reports the refusal
        return false;
    }
    copyToClipboard();
    return writeBytes(QByteArray());
}

bool DbImage::pasteFromClipboard()
{
    const QMimeData *mime = QApplication::clipboard()->mimeData();
    if (!mime || !mime->hasImage())
        return false;
    const QImage image = qvariant_cast<QImage>(mime->imageData());
    if (image.isNull())
        return false;
    return writeBytes(PictureLoader::fieldBytesFromImage(image));
}

bool DbImage::setPictureBytes(const QByteArray &bytes)
{
    QString error;
    const QByteArray stored = PictureLoader::fieldBytesFromData(bytes, &error);
    if (stored.isEmpty()) {
        reportError(error);
        return false;
    }
    return writeBytes(stored);
}

bool DbImage::loadFromFile(const QString &path)
{
    if (!m_link->canModify()) {
        m_link->beginEdit(); // reports the refusal
        return false;
    }
    QString error;
    const auto bytes = platform::readFileBytes(path, &error);
    if (!bytes) {
        reportError(error);
        return false;
    }
    return setPictureBytes(*bytes);
}

bool DbImage::clearPicture()
{
    return writeBytes(QByteArray());
}

void DbImage::keyPressEvent(QKeyEvent *event)
{
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (event->matches(QKeySequence::Copy) || (ctrl && event->key() == Qt::Key_Insert)) {
        copyToClipboard();
    } else if (event->matches(QKeySequence::Paste) || (shift && event->key() == Qt::Key_Insert)) {
        pasteFromClipboard();
    } else if (event->matches(QKeySequence::Cut) || (shift && event->key() == Qt::Key_Delete)) {
        cutToClipboard();
    } else {
        QFrame::keyPressEvent(event);
        return;
    }
    event->accept();
}

} // namespace dbui
