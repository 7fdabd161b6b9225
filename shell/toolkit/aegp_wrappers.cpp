#include "shell/toolkit/aegp_wrappers.h"

#include <cstring>

namespace {

AEGP_PluginID PluginIdOf(const AegpEffect* effect) {
    return static_cast<AEGP_PluginID>(effect->pluginId);
}

// Host memory from AEGP_GetStreamName: freed on every way out of the scope; a free that
// fails is reported only when nothing else failed before it.
class NameMemory {
  public:
    NameMemory(const AEGP_MemorySuite1* suite, AEGP_MemHandle memory)
        : suite_(suite), memory_(memory) {}
    NameMemory(const NameMemory&) = delete;
    NameMemory& operator=(const NameMemory&) = delete;
    ~NameMemory() {
        if (memory_ != nullptr) {
            suite_->AEGP_FreeMemHandle(memory_);
        }
    }

    // Frees the memory now and raises the free's failure.
    void Free() {
        AEGP_MemHandle memory = memory_;
        memory_ = nullptr;
        ThrowIfAegpFailed(suite_->AEGP_FreeMemHandle(memory));
    }

  private:
    const AEGP_MemorySuite1* suite_;
    AEGP_MemHandle memory_;
};

// The handle that a creating call handed out, owned by a new wrapper; a failed call, or one
// that hands out nothing, raises Exception. made is read only once the call has returned.
template <typename Wrapper, typename Handle>
Wrapper Owned(AegpEffect* owner, A_Err err, const Handle* made) {
    ThrowIfAegpFailed(err);
    ThrowIfAegpMadeNothing(*made);
    return Wrapper(owner, 1, *made);
}

// A destructor's disposal, made only when the wrapper owns a handle; whatever it raises, a
// missing suite included, is dropped, as nothing leaves a destructor.
template <typename Dispose>
void DisposeQuietly(bool owns, Dispose dispose) noexcept {
    if (!owns) {
        return;
    }
    try {
        dispose();
    } catch (...) {
    }
}

// The suite that disposes streams, acquired before the host hands one out, so that a missing
// suite cannot leave the stream behind.
void AcquireStreamDisposal(AegpEffect* effect) {
    effect->suites.StreamSuite9();
}

}  // namespace

A_long AegpLayer::MaskCount() {
    A_long count = 0;
    ThrowIfAegpFailed(owner->suites.LayerMaskSuite7()->AEGP_GetLayerNumMasks(handle, &count));
    return count;
}

AegpMask AegpLayer::Mask(A_long index) {
    AEGP_MaskRefH mask = nullptr;
    return Owned<AegpMask>(
        owner, owner->suites.LayerMaskSuite7()->AEGP_GetLayerMaskByIndex(handle, index, &mask),
        &mask);
}

AegpMask::~AegpMask() {
    DisposeQuietly(Disposes(),
                   [this] { owner->suites.LayerMaskSuite7()->AEGP_DisposeMask(handle); });
}

AEGP_ColorVal AegpMask::Color() {
    AEGP_ColorVal colour;
    std::memset(&colour, 0, sizeof(colour));
    ThrowIfAegpFailed(owner->suites.LayerMaskSuite7()->AEGP_GetMaskColor(handle, &colour));
    return colour;
}

AegpStream AegpMask::Stream(AEGP_MaskStream which) {
    AcquireStreamDisposal(owner);
    AEGP_StreamRefH stream = nullptr;
    return Owned<AegpStream>(owner,
                             owner->suites.StreamSuite7()->AEGP_GetNewMaskStream(
                                 PluginIdOf(owner), handle, which, &stream),
                             &stream);
}

AegpStream::~AegpStream() {
    DisposeQuietly(Disposes(),
                   [this] { owner->suites.StreamSuite9()->AEGP_DisposeStream(handle); });
}

AegpStream AegpStream::Parent() {
    AcquireStreamDisposal(owner);
    AEGP_StreamRefH parent = nullptr;
    return Owned<AegpStream>(owner,
                             owner->suites.DynamicStreamSuite5()->AEGP_GetNewParentStreamRef(
                                 PluginIdOf(owner), handle, &parent),
                             &parent);
}

std::u16string AegpStream::Name(bool forceEnglish) {
    // Both suites are acquired before the host hands out memory, so that a missing one cannot
    // leave the memory behind.
    const AEGP_StreamSuite10* streams = owner->suites.StreamSuite10();
    const AEGP_MemorySuite1* memorySuite = owner->suites.MemorySuite1();
    AEGP_MemHandle memory = nullptr;
    ThrowIfAegpFailed(
        streams->AEGP_GetStreamName(PluginIdOf(owner), handle, forceEnglish ? 1 : 0, &memory));
    ThrowIfAegpMadeNothing(memory);
    NameMemory owned(memorySuite, memory);
    void* text = nullptr;
    ThrowIfAegpFailed(memorySuite->AEGP_LockMemHandle(memory, &text));
    // A lock that hands out no text took no lock.
    ThrowIfAegpMadeNothing(text);
    std::u16string name;
    try {
        for (const auto* unit = static_cast<const A_UTF16Char*>(text); *unit != 0; ++unit) {
            name += static_cast<char16_t>(*unit);
        }
    } catch (...) {
        memorySuite->AEGP_UnlockMemHandle(memory);
        throw;
    }
    ThrowIfAegpFailed(memorySuite->AEGP_UnlockMemHandle(memory));
    owned.Free();
    return name;
}

AegpStreamValue AegpStream::Value(A_u_short timeMode, const A_Time* time, bool preExpression) {
    AEGP_StreamValue2 value;
    std::memset(&value, 0, sizeof(value));
    ThrowIfAegpFailed(owner->suites.StreamSuite10()->AEGP_GetNewStreamValue(
        PluginIdOf(owner), handle, timeMode, time, preExpression ? 1 : 0, &value));
    ThrowIfAegpMadeNothing(value.streamH);
    return AegpStreamValue(owner, 1, value);
}

AegpStreamValue::~AegpStreamValue() {
    DisposeQuietly(owned == 1 && value.streamH != nullptr,
                   [this] { owner->suites.StreamSuite10()->AEGP_DisposeStreamValue(&value); });
}

AegpMaskOutline AegpStreamValue::MaskOutline() {
    ThrowIfAegpMadeNothing(value.val.mask);
    return AegpMaskOutline(owner, 0, value.val.mask);
}

A_long AegpMaskOutline::SegmentCount() {
    A_long count = 0;
    ThrowIfAegpFailed(
        owner->suites.MaskOutlineSuite5()->AEGP_GetMaskOutlineNumSegments(handle, &count));
    return count;
}

AEGP_MaskVertex AegpMaskOutline::Vertex(A_long index) {
    AEGP_MaskVertex vertex;
    std::memset(&vertex, 0, sizeof(vertex));
    ThrowIfAegpFailed(
        owner->suites.MaskOutlineSuite5()->AEGP_GetMaskOutlineVertexInfo(handle, index, &vertex));
    return vertex;
}
