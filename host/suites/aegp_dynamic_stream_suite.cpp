#include "host/suite_registry.h"
#include "host/suites/aegp_calls.h"

namespace quorvel::host {

namespace {

using StreamKind = AegpObject::StreamKind;

// A mask's properties sit in the mask's group, the masks' groups in the layer's group of
// masks, which has no parent the module can reach.
A_Err GetNewParentStreamRef(AEGP_PluginID plugin, AEGP_StreamRefH streamRef,
                            AEGP_StreamRefH* parent) {
    const AegpObject* stream = TheAegpObjects().Find(streamRef, AegpObject::Kind::Stream);
    if (parent == nullptr || stream == nullptr || !IsRegisteredPlugin(plugin)) {
        return RefuseMisuse(
            "AEGP_GetNewParentStreamRef of a stream that is not alive, an unknown plug-in or "
            "without a place");
    }
    *parent = nullptr;
    if (const auto fault = FaultAnswer("AEGP_GetNewParentStreamRef")) {
        return *fault;
    }
    if (stream->stream == StreamKind::LayerMasks) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    AegpObject object;
    object.kind = AegpObject::Kind::Stream;
    object.maskIndex = stream->maskIndex;
    object.stream =
        stream->stream == StreamKind::MaskGroup ? StreamKind::LayerMasks : StreamKind::MaskGroup;
    return HandOutAegp(std::move(object), parent);
}

const AEGP_DynamicStreamSuite5 kDynamicStreamSuite = {&GetNewParentStreamRef};

}  // namespace

extern const SuiteDefinition kAEGPDynamicStreamSuite5 = {
    kAEGPDynamicStreamSuite, kAEGPDynamicStreamSuiteVersion5, &kDynamicStreamSuite};

}  // namespace quorvel::host
