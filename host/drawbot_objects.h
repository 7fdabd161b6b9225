#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "host_api/drawbot.h"

namespace quorvel::host {

// One element of a Drawbot path, in the order the module added it.
struct DrawbotPathElement {
    enum class Op { MoveTo, LineTo, BezierTo, Rect, Close };
    Op op;
    // MoveTo, LineTo: x, y. BezierTo: three points. Rect: left, top, width, height.
    float values[6];
};

// A pen, brush, path, image or font that a supplier made: a host object with a reference
// count. Each reference the module holds is an item of the ledger.
struct DrawbotObject {
    enum class Kind { Pen, Brush, Path, Image, Font };

    Kind kind;
    std::string name;  // as the ledger shows each reference
    long references = 1;
    DRAWBOT_ColorRGBA colour = {0, 0, 0, 0};  // pens and brushes
    float size = 0;                           // a pen's width, a font's size
    std::vector<DrawbotPathElement> path;
    // Images: the buffer as the module gave it, with its geometry and layout.
    int width = 0;
    int height = 0;
    int rowBytes = 0;
    DRAWBOT_PixelLayout layout = 0;
    std::vector<uint8_t> bytes;
    int imageSerial = -1;
};

// What the module drew on a surface, in order; the tests read it next to the pixels.
struct DrawbotOperation {
    enum class Kind { FillPath, StrokePath, DrawImage, DrawString, PaintRect };
    Kind kind;
    DRAWBOT_ColorRGBA colour;  // brush or pen colour
    float size;                // pen width or font size
    std::vector<DrawbotPathElement> path;
    DRAWBOT_PointF32 origin;  // image and text origin
    float alpha;              // image alpha
    std::string text;         // UTF-8
    DRAWBOT_TextAlignment alignment;
    int imageSerial;  // the image drawn: how many images were made before it
};

// The Drawbot objects of a host (Host::State<DrawbotObjects>()). The module's references are
// the objects' addresses; a reference is followed only while its object lives and only as
// the kind it was made as. Safe to use from several threads.
class DrawbotObjects {
  public:
    // A new object with one reference held by the module.
    DrawbotObject* Make(DrawbotObject object);
    // The live object behind ref when it is of kind; null otherwise.
    DrawbotObject* Find(const void* ref, DrawbotObject::Kind kind);
    DrawbotObject* FindAny(const void* ref);
    // One more reference, or one fewer (the object goes with its last one). False for a
    // reference that is not alive.
    bool Retain(const void* ref);
    bool Release(const void* ref);

    void Record(const DrawbotOperation& operation);
    std::vector<DrawbotOperation> Operations() const;
    // Forgets the operations and images recorded so far (the objects alive stay).
    void ForgetRecords();

    // Every image made, in order, as the module's buffer was when the image was made.
    std::vector<DrawbotObject> ImagesMade() const;
    // Objects made of kind since the host started, and objects alive now.
    long Made(DrawbotObject::Kind kind) const;
    size_t LiveCount() const;

  private:
    mutable std::mutex mutex_;
    std::map<const void*, std::unique_ptr<DrawbotObject>> live_;
    std::map<DrawbotObject::Kind, long> made_;
    std::vector<DrawbotObject> images_;
    std::vector<DrawbotOperation> operations_;
};

}  // namespace quorvel::host
