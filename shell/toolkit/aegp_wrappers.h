#pragma once

#include <string>

#include "host_api/aegp.h"
#include "shell/toolkit/aegp_effect.h"

// Owning wrappers over the AEGP handles that lead from an effect's layer to its masks, their
// streams, stream values and outlines. Each is returned by value into the caller's storage
// and never copied or moved, so that an owned handle is disposed exactly once; destructors
// drop every failure. Every call goes through the owner's suite cache and plug-in id.
template <typename Handle>
class AegpHandleWrapper {
  public:
    AegpHandleWrapper(AegpEffect* effect, A_u_long ownership, Handle hostHandle)
        : owner(effect), owned(ownership), handle(hostHandle) {}
    AegpHandleWrapper(const AegpHandleWrapper&) = delete;
    AegpHandleWrapper& operator=(const AegpHandleWrapper&) = delete;

    AegpEffect* owner;
    // Exactly 1: the destructor disposes the handle; 0: borrowed.
    A_u_long owned;
    Handle handle;

  protected:
    ~AegpHandleWrapper() = default;
    // Whether the destructor has a handle to dispose.
    bool Disposes() const { return owned == 1 && handle != nullptr; }
};

class AegpMask;
class AegpStream;
class AegpStreamValue;
class AegpMaskOutline;

class AegpLayer : public AegpHandleWrapper<AEGP_LayerH> {
  public:
    using AegpHandleWrapper::AegpHandleWrapper;

    A_long MaskCount();
    // The mask at a 0-based index, owned.
    AegpMask Mask(A_long index);
};

class AegpMask : public AegpHandleWrapper<AEGP_MaskRefH> {
  public:
    using AegpHandleWrapper::AegpHandleWrapper;
    ~AegpMask();

    // Alpha, red, green, blue; zero where the host writes nothing.
    AEGP_ColorVal Color();
    // One of the mask's streams (AEGP_MaskStream_OUTLINE ...), owned.
    AegpStream Stream(AEGP_MaskStream which);
};

class AegpStream : public AegpHandleWrapper<AEGP_StreamRefH> {
  public:
    using AegpHandleWrapper::AegpHandleWrapper;
    ~AegpStream();

    // The group that holds the stream, owned.
    AegpStream Parent();
    // The stream's name as UTF-16 code units, without conversion.
    std::u16string Name(bool forceEnglish);
    // The stream's value at a time, owned.
    AegpStreamValue Value(A_u_short timeMode, const A_Time* time, bool preExpression);
};

class AegpStreamValue {
  public:
    AegpStreamValue(AegpEffect* effect, A_u_long ownership, const AEGP_StreamValue2& hostValue)
        : owner(effect), owned(ownership), value(hostValue) {}
    AegpStreamValue(const AegpStreamValue&) = delete;
    AegpStreamValue& operator=(const AegpStreamValue&) = delete;
    ~AegpStreamValue();

    // The outline that the value holds; it belongs to the value.
    AegpMaskOutline MaskOutline();

    AegpEffect* owner;
    A_u_long owned;
    AEGP_StreamValue2 value;
};

class AegpMaskOutline : public AegpHandleWrapper<AEGP_MaskOutlineValH> {
  public:
    using AegpHandleWrapper::AegpHandleWrapper;

    A_long SegmentCount();
    // x, y and the tangents of a vertex; zero where the host writes nothing.
    AEGP_MaskVertex Vertex(A_long index);
};
