#pragma once

#include <QBrush>
#include <QLineF>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QTransform>
#include <functional>
#include <optional>
#include <variant>
#include <vector>

namespace qrv::gui {

// What a painter drew, kept as it was drawn: rectangles as rectangles, lines as lines, polygons,
// ellipses, points and paths, each with the pen, brush, transform, clip, hints and opacity it was drawn
// with. Replayed with the same painter calls, so that a device that writes what it is given (a PDF)
// is given what the drawing gave it. Text and images are not kept: a drawing with any records nothing.
class PaintRecording {
  public:
    // What `draw` paints on a device `size` large, or nothing when it draws text or images.
    static std::optional<PaintRecording> record(const QSize& size,
                                                const std::function<void(QPainter&)>& draw);

    // Draws the recording at the painter's origin and within its clip; leaves the painter as it was.
    void replay(QPainter& painter) const;
    size_t shapes() const { return shapes_.size(); }

    // What the shapes are drawn with; the clip in the device's coordinates.
    struct State {
        QPen pen;
        QBrush brush;
        QPointF brushOrigin;
        QTransform transform;
        int clip = -1;  // in clips_, or none
        QPainter::RenderHints hints;
        qreal opacity = 1;
        QPainter::CompositionMode composition = QPainter::CompositionMode_SourceOver;
        QBrush background;
        Qt::BGMode backgroundMode = Qt::TransparentMode;
        bool operator==(const State&) const = default;
    };
    struct Polygon {
        std::vector<QPointF> points;
        QPaintEngine::PolygonDrawMode mode = QPaintEngine::OddEvenMode;
        bool operator==(const Polygon&) const = default;
    };
    struct Ellipse {
        QRectF bounds;
        bool operator==(const Ellipse&) const = default;
    };
    struct Points {
        std::vector<QPointF> points;
        bool operator==(const Points&) const = default;
    };
    using Shape =
        std::variant<std::vector<QRectF>, std::vector<QLineF>, Polygon, QPainterPath, Ellipse, Points>;
    struct Drawn {
        Shape shape;
        size_t state = 0;  // in states_
        bool operator==(const Drawn&) const = default;
    };
    // The same shapes drawn with the same states.
    bool operator==(const PaintRecording&) const = default;

  private:
    friend class RecordingEngine;
    std::vector<State> states_;
    std::vector<QPainterPath> clips_;
    std::vector<Drawn> shapes_;
};

}  // namespace qrv::gui
