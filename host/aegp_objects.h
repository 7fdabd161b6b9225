#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "host/layer_masks.h"
#include "host_api/aegp.h"

namespace quorvel::host {

// A handle that the AEGP suites handed to the module and that it disposes: the effect, a
// mask, a stream, a stream value (with the outline it holds) or host memory.
struct AegpObject {
    enum class Kind { Effect, Mask, Stream, StreamValue, Memory };
    // What a stream is: a mask's outline or another of its properties, the mask's own group,
    // or the layer's group of masks.
    enum class StreamKind { MaskOutline, MaskProperty, MaskGroup, LayerMasks };

    Kind kind;
    std::string name;  // as the ledger shows it
    int maskIndex = -1;
    StreamKind stream = StreamKind::MaskOutline;
    AEGP_MaskStream which = AEGP_MaskStream_OUTLINE;
    LayerMask outline;                // a stream value's outline
    std::vector<A_UTF16Char> memory;  // host memory: NUL-terminated UTF-16
    int locks = 0;
};

// What the module asked a stream value for.
struct AegpValueRequest {
    AEGP_LTimeMode timeMode;
    A_Time time;
    bool preExpression;
};

// The AEGP handles of a host (State<AegpObjects>()): every handle made is in the ledger
// until it is disposed; a handle is followed only while it lives and only as its kind.
// The layer handle is borrowed and never counted. Safe to use from several threads.
class AegpObjects {
  public:
    AegpObject* Make(AegpObject object);
    AegpObject* Find(const void* handle, AegpObject::Kind kind);
    // The stream value whose outline handle this is; null for any other.
    AegpObject* FindOutline(const void* outline);
    // Gives the handle back (and with a stream value its outline); false when not alive.
    bool Dispose(const void* handle, AegpObject::Kind kind);

    AEGP_LayerH Layer() { return reinterpret_cast<AEGP_LayerH>(&layerToken_); }

    void Request(const AegpValueRequest& request);
    std::vector<AegpValueRequest> Requests() const;
    size_t LiveCount() const;

  private:
    mutable std::mutex mutex_;
    std::map<const void*, std::unique_ptr<AegpObject>> live_;
    std::map<AegpObject::Kind, long> made_;
    std::vector<AegpValueRequest> requests_;
    char layerToken_ = 0;
};

}  // namespace quorvel::host
