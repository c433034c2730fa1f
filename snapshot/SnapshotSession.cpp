#include "snapshot/SnapshotSession.h"

#include "platform/Platform.h"

#include <cmath>

namespace vv {

QString deskShotNullMessage() {
    return QStringLiteral("DCDesk is Null - Contact developer ") + QLatin1String(kSnapshotContactAddress);
}

std::chrono::microseconds snapshotRoundInterval(double refreshRate) {
    if (!std::isfinite(refreshRate) || refreshRate < 10.0 || refreshRate > 1000.0)
        refreshRate = 60.0;
    return std::chrono::microseconds(qint64(1e6 / (2.0 * refreshRate)));
}

namespace {

// The grab in the pixel format of resource.bmp, as the desktop picture is
// defined by it. A palette format keeps that file's own colour table.
QImage inTemplateFormat(const QImage& grab, const QImage& deskShotTemplate) {
    if (deskShotTemplate.isNull() || grab.format() == deskShotTemplate.format())
        return grab;
    if (deskShotTemplate.format() == QImage::Format_Indexed8 ||
        deskShotTemplate.format() == QImage::Format_Mono ||
        deskShotTemplate.format() == QImage::Format_MonoLSB)
        return grab.convertToFormat(deskShotTemplate.format(), deskShotTemplate.colorTable());
    return grab.convertToFormat(deskShotTemplate.format());
}

} // namespace

SnapshotSession::SnapshotSession(IconBoard& board, IconWindow window, QObject* parent)
    : QObject(parent), board_(board), window_(window) {}

SnapshotSession::~SnapshotSession() {
    stopWorker();
}

SnapshotStart SnapshotSession::Start(const QImage& deskShotTemplate, QRgb outside) {
    if (worker_)
        return {};
    Platform& outsideWorld = platform();
    // The only read of the screen, here on the GUI thread where the toolkit
    // allows it; the worker then works on this frozen picture alone.
    // The template's size is in logical pixels (a previous grab kept on a
    // scaled screen counts by its logical size, not its device pixels).
    const QSize size =
        deskShotTemplate.isNull() ? QSize() : deskShotTemplate.deviceIndependentSize().toSize();
    const QImage grab = outsideWorld.grabScreen(size);
    if (grab.isNull())
        return {false, deskShotNullMessage()};
    deskShot_ = inTemplateFormat(grab, deskShotTemplate);

    SnapshotSetup setup;
    setup.deskShot = deskShot_;
    setup.outside = outside;
    setup.roundInterval = snapshotRoundInterval(outsideWorld.screenRefreshRate());
    worker_ = std::make_unique<snapshot>(board_, outsideWorld, std::move(setup));
    worker_->SetTarget(window_ == IconWindow::Os5 ? 1 : 0);
    connect(
        worker_.get(), &snapshot::snapshotDrawn, this, [this] { emit snapshotDrawn(window_); },
        Qt::QueuedConnection);
    worker_->Resume();
    return {true, {}};
}

void SnapshotSession::End() {
    if (!worker_)
        return;
    stopWorker();
    // Only now, with the worker gone, is HighSnap read again.
    if (window_ == IconWindow::Os5)
        board_.halveHighSnapIntoLowSnap();
}

void SnapshotSession::stopWorker() {
    if (!worker_)
        return;
    worker_->RequestStop();
    worker_->wait();
    worker_.reset();
}

} // namespace vv
