#pragma once
// The recording behind TMetafile: canvas calls with their arguments, and the
// pen, brush and font in force when each was made.
#include <cstdint>
#include <string>
#include <vector>

#include "host/vcl/Graphics.h"

namespace host {

enum class TMetaOp : uint8_t {
    Pen,        // Color, Mode, Style, Width
    Brush,      // Color, Style
    Font,       // Color, Height, Pitch, Style, Charset, Escapement, Weight; text: name
    MoveTo,
    LineTo,
    Rectangle,
    RoundRect,
    Ellipse,
    Arc,
    Chord,
    Pie,
    Polygon,
    Polyline,
    PolyBezier,
    FillRect,
    FrameRect,
    FocusRect,
    TextOut,
    TextRect,
    Pixel,
    Graphic,    // rect; text: class name, NUL, the graphic's saved bytes
    Count
};

struct TMetaRecord {
    TMetaOp Op = TMetaOp::MoveTo;
    std::vector<int32_t> Args;
    std::string Text;
};

class TCanvasRecorder {
public:
    // Appends a drawing call, preceded by the canvas's pen, brush and font when
    // they differ from the last ones recorded.
    void Add(TCanvas* Canvas, TMetaOp Op, std::vector<int32_t> Args, std::string Text = {});
    void AddGraphic(TCanvas* Canvas, const TRect& Rect, TGraphic* Graphic);
    // Plays the records onto Target, mapping (0, 0)-(Width, Height) to Rect.
    void Replay(TCanvas* Target, const TRect& Rect, int Width, int Height) const;

    void Save(TStream* Stream, int Width, int Height) const;
    // Raises EInvalidGraphic for data that is not a recording of ours.
    void Load(TStream* Stream, int& Width, int& Height);

    std::vector<TMetaRecord> Records;

private:
    void SyncState(TCanvas* Canvas);
    std::vector<int32_t> FLastPen, FLastBrush, FLastFont;
    std::string FLastFontName;
};

} // namespace host
