#include "host/host.h"
#include "host/suite_registry.h"
#include "host/suites/aegp_calls.h"
#include "host/utf16.h"

namespace quorvel::host {

namespace {

using StreamKind = AegpObject::StreamKind;

// The names of a mask's properties, by stream selector from AEGP_MaskStream_OUTLINE on.
constexpr const char* kMaskStreamNames[] = {"Mask Path", "Mask Opacity", "Mask Feather",
                                            "Mask Expansion"};
constexpr char kLayerMasksName[] = "Masks";

A_Err GetNewMaskStream(AEGP_PluginID plugin, AEGP_MaskRefH maskRef, AEGP_MaskStream which,
                       AEGP_StreamRefH* stream) {
    const AegpObject* mask = TheAegpObjects().Find(maskRef, AegpObject::Kind::Mask);
    if (stream == nullptr || mask == nullptr || !IsRegisteredPlugin(plugin)) {
        return RefuseMisuse(
            "AEGP_GetNewMaskStream of a mask that is not alive, an unknown plug-in or without a "
            "place");
    }
    *stream = nullptr;
    if (const auto fault = FaultAnswer("AEGP_GetNewMaskStream")) {
        return *fault;
    }
    if (which < AEGP_MaskStream_OUTLINE || which > AEGP_MaskStream_EXPANSION) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    AegpObject object;
    object.kind = AegpObject::Kind::Stream;
    object.maskIndex = mask->maskIndex;
    object.which = which;
    object.stream =
        which == AEGP_MaskStream_OUTLINE ? StreamKind::MaskOutline : StreamKind::MaskProperty;
    return HandOutAegp(std::move(object), stream);
}

// A dispose that fails still takes the handle back: the fault is in the answer only.
A_Err DisposeStream(AEGP_StreamRefH stream) {
    const auto fault = FaultAnswer("AEGP_DisposeStream");
    if (!TheAegpObjects().Dispose(stream, AegpObject::Kind::Stream)) {
        return RefuseMisuse("AEGP_DisposeStream of a stream handle that is not alive");
    }
    return fault ? *fault : PF_Err_NONE;
}

std::string StreamName(const AegpObject& stream) {
    switch (stream.stream) {
        case StreamKind::MaskOutline:
        case StreamKind::MaskProperty:
            return kMaskStreamNames[stream.which - AEGP_MaskStream_OUTLINE];
        case StreamKind::MaskGroup: {
            LayerMask mask;
            return Host::Current().State<LayerMasks>().At(stream.maskIndex, &mask) ? mask.name : "";
        }
        case StreamKind::LayerMasks:
            return kLayerMasksName;
    }
    return "";
}

// The name in new host memory as NUL-terminated UTF-16; the host has no other language.
A_Err GetStreamName(AEGP_PluginID plugin, AEGP_StreamRefH streamRef, A_Boolean,
                    AEGP_MemHandle* memory) {
    const AegpObject* stream = TheAegpObjects().Find(streamRef, AegpObject::Kind::Stream);
    if (memory == nullptr || stream == nullptr || !IsRegisteredPlugin(plugin)) {
        return RefuseMisuse(
            "AEGP_GetStreamName of a stream that is not alive, an unknown plug-in or without a "
            "place");
    }
    *memory = nullptr;
    if (const auto fault = FaultAnswer("AEGP_GetStreamName")) {
        return *fault;
    }
    const std::u16string name = Utf16FromUtf8(StreamName(*stream));
    AegpObject object;
    object.kind = AegpObject::Kind::Memory;
    object.memory.assign(name.begin(), name.end());
    object.memory.push_back(0);
    return HandOutAegp(std::move(object), memory);
}

// Outlines are the only values served: the mask's outline as it is when asked.
A_Err GetNewStreamValue(AEGP_PluginID plugin, AEGP_StreamRefH streamRef, AEGP_LTimeMode timeMode,
                        const A_Time* time, A_Boolean preExpression, AEGP_StreamValue2* value) {
    const AegpObject* stream = TheAegpObjects().Find(streamRef, AegpObject::Kind::Stream);
    if (value == nullptr || time == nullptr || stream == nullptr || !IsRegisteredPlugin(plugin)) {
        return RefuseMisuse(
            "AEGP_GetNewStreamValue of a stream that is not alive, an unknown plug-in or without "
            "a time or a place");
    }
    if (const auto fault = FaultAnswer("AEGP_GetNewStreamValue")) {
        return *fault;
    }
    TheAegpObjects().Request(AegpValueRequest{timeMode, *time, preExpression != 0});
    AegpObject object;
    object.kind = AegpObject::Kind::StreamValue;
    object.maskIndex = stream->maskIndex;
    if (stream->stream != StreamKind::MaskOutline ||
        !Host::Current().State<LayerMasks>().At(stream->maskIndex, &object.outline)) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    AegpObject* made = TheAegpObjects().Make(std::move(object));
    value->streamH = streamRef;
    value->val.mask = reinterpret_cast<AEGP_MaskOutlineValH>(&made->outline);
    return PF_Err_NONE;
}

// A dispose that fails still takes the value back: the fault is in the answer only.
A_Err DisposeStreamValue(AEGP_StreamValue2* value) {
    const auto fault = FaultAnswer("AEGP_DisposeStreamValue");
    AegpObject* object = value != nullptr ? TheAegpObjects().FindOutline(value->val.mask) : nullptr;
    if (object == nullptr || !TheAegpObjects().Dispose(object, AegpObject::Kind::StreamValue)) {
        return RefuseMisuse("AEGP_DisposeStreamValue of a value that is not alive");
    }
    return fault ? *fault : PF_Err_NONE;
}

const AEGP_StreamSuite7 kStreamSuite7 = {&GetNewMaskStream, &DisposeStream};
const AEGP_StreamSuite9 kStreamSuite9 = {&GetNewMaskStream, &DisposeStream};
const AEGP_StreamSuite10 kStreamSuite10 = {&GetNewMaskStream, &DisposeStream, &GetStreamName,
                                           &GetNewStreamValue, &DisposeStreamValue};

}  // namespace

extern const SuiteDefinition kAEGPStreamSuite7 = {kAEGPStreamSuite, kAEGPStreamSuiteVersion7,
                                                  &kStreamSuite7};
extern const SuiteDefinition kAEGPStreamSuite9 = {kAEGPStreamSuite, kAEGPStreamSuiteVersion9,
                                                  &kStreamSuite9};
extern const SuiteDefinition kAEGPStreamSuite10 = {kAEGPStreamSuite, kAEGPStreamSuiteVersion10,
                                                   &kStreamSuite10};

}  // namespace quorvel::host
