#include "gui/reports/PaintRecording.h"

#include <QPaintDevice>
#include <QRegion>
#include <climits>

namespace qrv::gui {

namespace {

// What a PDF's engine draws itself: given these, a painter hands the recorder what it would hand a
// PDF (a rectangle stays a rectangle), and the replay hands the PDF the same.
constexpr QPaintEngine::PaintEngineFeatures kFeatures =
    QPaintEngine::AllFeatures &
    ~(QPaintEngine::PorterDuff | QPaintEngine::PerspectiveTransform |
      QPaintEngine::ObjectBoundingModeGradients | QPaintEngine::ConicalGradientFill);
constexpr int kDpi = 96;

QPainterPath regionPath(const QRegion& region) {
    QPainterPath path;
    path.addRegion(region);
    return path;
}

void setState(QPainter& painter, const PaintRecording::State& state, const QTransform& base) {
    if (painter.pen() != state.pen) {
        painter.setPen(state.pen);
    }
    if (painter.brush() != state.brush) {
        painter.setBrush(state.brush);
    }
    if (painter.brushOrigin() != state.brushOrigin) {
        painter.setBrushOrigin(state.brushOrigin);
    }
    const QTransform transform = state.transform * base;
    if (painter.worldTransform() != transform) {
        painter.setWorldTransform(transform);
    }
    if (painter.renderHints() != state.hints) {
        painter.setRenderHints(painter.renderHints() & ~state.hints, false);
        painter.setRenderHints(state.hints, true);
    }
    if (painter.opacity() != state.opacity) {
        painter.setOpacity(state.opacity);
    }
    if (painter.compositionMode() != state.composition) {
        painter.setCompositionMode(state.composition);
    }
    if (painter.background() != state.background) {
        painter.setBackground(state.background);
    }
    if (painter.backgroundMode() != state.backgroundMode) {
        painter.setBackgroundMode(state.backgroundMode);
    }
}

void drawShape(QPainter& painter, const PaintRecording::Shape& shape) {
    if (const auto* rects = std::get_if<std::vector<QRectF>>(&shape)) {
        painter.drawRects(rects->data(), static_cast<int>(rects->size()));
    } else if (const auto* lines = std::get_if<std::vector<QLineF>>(&shape)) {
        painter.drawLines(lines->data(), static_cast<int>(lines->size()));
    } else if (const auto* polygon = std::get_if<PaintRecording::Polygon>(&shape)) {
        const int count = static_cast<int>(polygon->points.size());
        switch (polygon->mode) {
            case QPaintEngine::OddEvenMode:
                painter.drawPolygon(polygon->points.data(), count, Qt::OddEvenFill);
                break;
            case QPaintEngine::WindingMode:
                painter.drawPolygon(polygon->points.data(), count, Qt::WindingFill);
                break;
            case QPaintEngine::ConvexMode:
                painter.drawConvexPolygon(polygon->points.data(), count);
                break;
            case QPaintEngine::PolylineMode:
                painter.drawPolyline(polygon->points.data(), count);
                break;
        }
    } else if (const auto* path = std::get_if<QPainterPath>(&shape)) {
        painter.drawPath(*path);
    } else if (const auto* ellipse = std::get_if<PaintRecording::Ellipse>(&shape)) {
        painter.drawEllipse(ellipse->bounds);
    } else if (const auto* points = std::get_if<PaintRecording::Points>(&shape)) {
        painter.drawPoints(points->points.data(), static_cast<int>(points->points.size()));
    }
}

}  // namespace

// Keeps what a painter hands it, with the state it is drawn with; refuses text and images.
class RecordingEngine final : public QPaintEngine {
  public:
    explicit RecordingEngine(PaintRecording& recording) : QPaintEngine(kFeatures), recording_(recording) {}
    bool refused() const { return refused_; }

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState& changed) override {
        const DirtyFlags flags = changed.state();
        if (flags & DirtyPen) {
            now_.pen = changed.pen();
        }
        if (flags & DirtyBrush) {
            now_.brush = changed.brush();
        }
        if (flags & DirtyBrushOrigin) {
            now_.brushOrigin = changed.brushOrigin();
        }
        if (flags & DirtyTransform) {
            now_.transform = changed.transform();
        }
        if (flags & DirtyHints) {
            now_.hints = changed.renderHints();
        }
        if (flags & DirtyOpacity) {
            now_.opacity = changed.opacity();
        }
        if (flags & DirtyCompositionMode) {
            now_.composition = changed.compositionMode();
        }
        if (flags & DirtyBackground) {
            now_.background = changed.backgroundBrush();
        }
        if (flags & DirtyBackgroundMode) {
            now_.backgroundMode = changed.backgroundMode();
        }
        // A clip is given with the transform it was set under (a restored one with its own).
        if (flags & DirtyClipRegion) {
            clip(regionPath(changed.clipRegion()), changed.clipOperation(), changed.transform());
        }
        if (flags & DirtyClipPath) {
            clip(changed.clipPath(), changed.clipOperation(), changed.transform());
        }
        if (flags & DirtyClipEnabled) {
            clipEnabled_ = changed.isClipEnabled();
        }
    }

    using QPaintEngine::drawEllipse;
    using QPaintEngine::drawLines;
    using QPaintEngine::drawPoints;
    using QPaintEngine::drawPolygon;
    using QPaintEngine::drawRects;
    void drawRects(const QRectF* rects, int count) override {
        add(std::vector<QRectF>(rects, rects + count));
    }
    void drawLines(const QLineF* lines, int count) override {
        add(std::vector<QLineF>(lines, lines + count));
    }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
        add(PaintRecording::Polygon{std::vector<QPointF>(points, points + count), mode});
    }
    void drawPath(const QPainterPath& path) override { add(path); }
    void drawEllipse(const QRectF& bounds) override { add(PaintRecording::Ellipse{bounds}); }
    void drawPoints(const QPointF* points, int count) override {
        add(PaintRecording::Points{std::vector<QPointF>(points, points + count)});
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { refused_ = true; }
    void drawTiledPixmap(const QRectF&, const QPixmap&, const QPointF&) override { refused_ = true; }
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {
        refused_ = true;
    }
    void drawTextItem(const QPointF&, const QTextItem&) override { refused_ = true; }

  private:
    void clip(const QPainterPath& path, Qt::ClipOperation operation, const QTransform& transform) {
        if (operation == Qt::NoClip) {
            clip_ = -1;
            return;
        }
        QPainterPath mapped = transform.map(path);
        if (operation == Qt::IntersectClip && clip_ >= 0) {
            mapped = recording_.clips_[static_cast<size_t>(clip_)].intersected(mapped);
        }
        // A clip restored as it was is the one before.
        if (!recording_.clips_.empty() && recording_.clips_.back() == mapped) {
            clip_ = static_cast<int>(recording_.clips_.size()) - 1;
            return;
        }
        recording_.clips_.push_back(std::move(mapped));
        clip_ = static_cast<int>(recording_.clips_.size()) - 1;
    }

    void add(PaintRecording::Shape shape) {
        PaintRecording::State state = now_;
        state.clip = clipEnabled_ ? clip_ : -1;
        if (recording_.states_.empty() || !(recording_.states_.back() == state)) {
            recording_.states_.push_back(std::move(state));
        }
        recording_.shapes_.push_back({std::move(shape), recording_.states_.size() - 1});
    }

    PaintRecording& recording_;
    PaintRecording::State now_;
    int clip_ = -1;
    bool clipEnabled_ = false;
    bool refused_ = false;
};

namespace {

class RecordingDevice final : public QPaintDevice {
  public:
    RecordingDevice(const QSize& size, PaintRecording& recording) : size_(size), engine_(recording) {}
    ~RecordingDevice() override = default;
    QPaintEngine* paintEngine() const override { return &engine_; }
    bool refused() const { return engine_.refused(); }

  protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
            case PdmWidth:
                return size_.width();
            case PdmHeight:
                return size_.height();
            case PdmWidthMM:
                return size_.width() * 254 / (10 * kDpi);
            case PdmHeightMM:
                return size_.height() * 254 / (10 * kDpi);
            case PdmNumColors:
                return INT_MAX;
            case PdmDepth:
                return 32;
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return kDpi;
            case PdmDevicePixelRatio:
                return 1;
            case PdmDevicePixelRatioScaled:
                return static_cast<int>(devicePixelRatioFScale());
        }
        return 0;
    }

  private:
    QSize size_;
    mutable RecordingEngine engine_;
};

}  // namespace

std::optional<PaintRecording> PaintRecording::record(const QSize& size,
                                                     const std::function<void(QPainter&)>& draw) {
    PaintRecording recording;
    {
        RecordingDevice device(size, recording);
        QPainter painter(&device);
        draw(painter);
        painter.end();
        if (device.refused()) {
            return std::nullopt;
        }
    }
    return recording;
}

void PaintRecording::replay(QPainter& painter) const {
    painter.save();
    const QTransform base = painter.worldTransform();
    const std::optional<QPainterPath> outer =
        painter.hasClipping() ? std::optional<QPainterPath>(painter.clipPath()) : std::nullopt;
    int clip = -1;  // as the painter's own
    size_t applied = states_.size();
    for (const Drawn& drawn : shapes_) {
        const State& state = states_[drawn.state];
        if (state.clip != clip) {
            painter.setWorldTransform(base);
            if (state.clip >= 0) {
                const QPainterPath& mine = clips_[static_cast<size_t>(state.clip)];
                painter.setClipPath(outer ? outer->intersected(mine) : mine);
            } else if (outer) {
                painter.setClipPath(*outer);
            } else {
                painter.setClipping(false);
            }
            clip = state.clip;
            applied = states_.size();
        }
        if (drawn.state != applied) {
            setState(painter, state, base);
            applied = drawn.state;
        }
        drawShape(painter, drawn.shape);
    }
    painter.restore();
}

}  // namespace qrv::gui
