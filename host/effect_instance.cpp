#include "host/effect_instance.h"

#include <cstring>

#include "host/basic_suite.h"
#include "host/faults.h"
#include "host/handles.h"
#include "host/host.h"
#include "host/ledger.h"
#include "host/module.h"
#include "host/pixel_access.h"
#include "host/suites/ansi_suite.h"
#include "host/suites/handle_suite.h"

namespace quorvel::host {

namespace {

// The pre-render being sent on this thread, which checkout_layer reports into.
thread_local PreRenderResult* currentPreRender = nullptr;

PF_UtilCallbacks MakeUtils() {
    const PF_HandleSuite2& handles = HandleSuiteTable();
    const PF_ANSICallbacksSuite1& ansi = AnsiSuiteTable();
    PF_UtilCallbacks utils = {};
    utils.host_new_handle = handles.host_new_handle;
    utils.host_lock_handle = handles.host_lock_handle;
    utils.host_unlock_handle = handles.host_unlock_handle;
    utils.host_dispose_handle = handles.host_dispose_handle;
    utils.host_get_handle_size = handles.host_get_handle_size;
    utils.ansi.sprintf = ansi.sprintf;
    utils.ansi.strcpy = ansi.strcpy;
    utils.get_pixel_data8 = &GetPixelData8;
    utils.get_pixel_data16 = &GetPixelData16;
    return utils;
}

bool TakesParams(PF_Cmd cmd) {
    return cmd != PF_Cmd_SMART_PRE_RENDER && cmd != PF_Cmd_SMART_RENDER;
}

PF_LRect Intersection(const PF_LRect& a, const PF_LRect& b) {
    PF_LRect rect = {a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
                     a.right < b.right ? a.right : b.right,
                     a.bottom < b.bottom ? a.bottom : b.bottom};
    if (rect.left >= rect.right || rect.top >= rect.bottom) {
        return PF_LRect{0, 0, 0, 0};
    }
    return rect;
}

}  // namespace

std::string CommandResult::Message() const {
    return std::string(out.return_msg, strnlen(out.return_msg, sizeof(out.return_msg)));
}

EffectInstance::EffectInstance(const Module& module, Ledger& ledger, Faults& faults,
                               HandleRegistry& handles)
    : module_(module),
      ledger_(ledger),
      faults_(faults),
      handles_(handles),
      parameters_(ledger, faults, handles, *this),
      utils_(MakeUtils()) {}

// The ramp values are the module's to free, so they go while it is still loaded. A host never
// unloads a module that it set up without setting it down first: the module's OpenGL data (and
// the threads of the driver behind it) must not outlive its instance.
EffectInstance::~EffectInstance() {
    parameters_.DisposeRamps();
    if (globallySetUp_) {
        try {
            Send(PF_Cmd_GLOBAL_SETDOWN);
        } catch (...) {
            // Nothing is left to report to at this point.
        }
    }
}

EffectInstance* EffectInstance::FromRef(PF_ProgPtr effect_ref) {
    EffectInstance& instance = Host::Current().effect();
    return effect_ref == &instance ? &instance : nullptr;
}

PF_InData EffectInstance::MakeInData(const InstanceSettings& settings) {
    PF_InData in = {};
    in.inter.checkout_param = &EffectInstance::CheckoutParam;
    in.inter.checkin_param = &EffectInstance::CheckinParam;
    in.inter.add_param = &EffectInstance::AddParam;
    in.inter.abort = &EffectInstance::Abort;
    in.inter.progress = &EffectInstance::Progress;
    in.inter.register_ui = &EffectInstance::RegisterUi;
    in.utils = &utils_;
    in.effect_ref = this;
    in.version.major = 13;
    in.version.minor = 28;
    in.appl_id = settings.applicationId;
    in.num_params = parameters_.Count();
    in.current_time = settings.currentTime;
    in.time_step = settings.timeStep;
    in.local_time_step = settings.timeStep;
    in.time_scale = settings.timeScale;
    in.total_time = settings.timeScale * 10;
    in.width = settings.width;
    in.height = settings.height;
    in.extent_hint = PF_LRect{0, 0, settings.width, settings.height};
    in.downsample_x = PF_RationalScale{1, 1};
    in.downsample_y = PF_RationalScale{1, 1};
    in.pixel_aspect_ratio = PF_RationalScale{1, 1};
    in.global_data = globalData_;
    in.sequence_data = sequenceData_;
    in.pica_basicP = settings.basicSuite ? BasicSuite() : nullptr;
    return in;
}

CommandResult EffectInstance::Send(PF_Cmd cmd, void* extra, PF_LayerDef* output) {
    PF_InData in;
    CommandResult result = {PF_Err_NONE, PF_OutData{}, {}};
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const InstanceSettings* threadSettings = ThreadSettings::For(*this);
        in = MakeInData(threadSettings != nullptr ? *threadSettings : settings_);
        result.out.my_version = version_;
        result.out.out_flags = outFlags_;
        result.out.out_flags2 = outFlags2_;
        result.out.global_data = globalData_;
        // The flat copy asked for here must not be mistaken for the live record.
        result.out.sequence_data =
            cmd == PF_Cmd_GET_FLATTENED_SEQUENCE_DATA ? nullptr : sequenceData_;
    }
    std::vector<PF_ParamDef> definitions;
    std::vector<PF_ParamDef*> params;
    if (TakesParams(cmd)) {
        definitions = parameters_.SnapshotAt(
            in.time_scale == 0 ? 0.0 : static_cast<double>(in.current_time) / in.time_scale);
        for (PF_ParamDef& definition : definitions) {
            params.push_back(&definition);
        }
    }
    result.err = module_.EffectMain(cmd, &in, &result.out, params.empty() ? nullptr : params.data(),
                                    output, extra);
    result.params = std::move(definitions);
    TakeOver(cmd, result.out);
    if (cmd == PF_Cmd_PARAMS_SETUP) {
        const PF_Err copied = parameters_.CompleteSetup();
        result.err = result.err != PF_Err_NONE ? result.err : copied;
    }
    return result;
}

PreRenderResult EffectInstance::SmartPreRender(const PF_RenderRequest& request,
                                               const PF_PreRenderOutput& output) {
    PreRenderResult result = {};
    result.output = output;
    PF_PreRenderInput input = {};
    input.output_request = request;
    input.bitdepth = 8;
    PF_PreRenderCallbacks callbacks = {&EffectInstance::CheckoutLayer};
    PF_PreRenderExtra extra = {&input, &result.output, &callbacks};
    PreRenderResult* outer = currentPreRender;
    currentPreRender = &result;
    result.command = Send(PF_Cmd_SMART_PRE_RENDER, &extra);
    currentPreRender = outer;
    return result;
}

void EffectInstance::SetSequence(PF_Handle handle) {
    if (handle == sequenceData_) {
        return;
    }
    // A record the host no longer holds and that is still live is the module's again: the
    // ledger shows it until the module disposes it.
    handles_.LetGo(sequenceData_);
    handles_.Keep(handle);
    sequenceData_ = handle;
}

void EffectInstance::TakeOver(PF_Cmd cmd, const PF_OutData& out) {
    std::lock_guard<std::mutex> lock(mutex_);
    switch (cmd) {
        case PF_Cmd_GLOBAL_SETUP:
            globallySetUp_ = true;
            version_ = out.my_version;
            outFlags_ = out.out_flags;
            outFlags2_ = out.out_flags2;
            handles_.Keep(out.global_data);
            globalData_ = out.global_data;
            break;
        case PF_Cmd_GLOBAL_SETDOWN:
            globallySetUp_ = false;
            handles_.LetGo(globalData_);
            globalData_ = nullptr;
            SetSequence(nullptr);
            break;
        case PF_Cmd_SEQUENCE_SETUP:
            SetSequence(out.sequence_data);
            break;
        case PF_Cmd_SEQUENCE_RESETUP:
            // The record the host handed in is the host's to dispose once it is replaced.
            if (out.sequence_data != sequenceData_) {
                handles_.DisposeKept(sequenceData_);
                sequenceData_ = nullptr;
                SetSequence(out.sequence_data);
            }
            break;
        case PF_Cmd_SEQUENCE_FLATTEN:
            if (out.sequence_data != sequenceData_) {
                savedSequence_ = handles_.Bytes(out.sequence_data);
                SetSequence(out.sequence_data);
            }
            break;
        case PF_Cmd_SEQUENCE_SETDOWN:
            SetSequence(nullptr);
            break;
        case PF_Cmd_GET_FLATTENED_SEQUENCE_DATA:
            if (out.sequence_data != nullptr && out.sequence_data != sequenceData_) {
                savedSequence_ = handles_.Bytes(out.sequence_data);
                handles_.Keep(out.sequence_data);
                handles_.DisposeKept(out.sequence_data);
            }
            break;
        case PF_Cmd_QUERY_DYNAMIC_FLAGS:
            outFlags_ = out.out_flags;
            break;
        default:
            break;
    }
}

namespace {
thread_local ThreadSettings* currentThreadSettings = nullptr;
}  // namespace

ThreadSettings::ThreadSettings(const EffectInstance& effect, const InstanceSettings& settings)
    : effect_(&effect), settings_(settings), previous_(currentThreadSettings) {
    currentThreadSettings = this;
}

ThreadSettings::~ThreadSettings() {
    currentThreadSettings = previous_;
}

InstanceSettings* ThreadSettings::For(const EffectInstance& effect) {
    for (ThreadSettings* scope = currentThreadSettings; scope != nullptr;
         scope = scope->previous_) {
        if (scope->effect_ == &effect) {
            return &scope->settings_;
        }
    }
    return nullptr;
}

InstanceSettings EffectInstance::Settings() const {
    if (const InstanceSettings* threadSettings = ThreadSettings::For(*this)) {
        return *threadSettings;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    return settings_;
}

void EffectInstance::SetSettings(const InstanceSettings& settings) {
    if (InstanceSettings* threadSettings = ThreadSettings::For(*this)) {
        *threadSettings = settings;
        return;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    settings_ = settings;
}

A_u_long EffectInstance::Version() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return version_;
}

A_long EffectInstance::OutFlags() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return outFlags_;
}

A_long EffectInstance::OutFlags2() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return outFlags2_;
}

PF_Handle EffectInstance::GlobalData() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return globalData_;
}

PF_Handle EffectInstance::SequenceData() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return sequenceData_;
}

std::vector<uint8_t> EffectInstance::SavedSequence() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return savedSequence_;
}

void EffectInstance::LoadSequenceData(const std::vector<uint8_t>& bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    handles_.DisposeKept(sequenceData_);
    sequenceData_ = handles_.NewKept(bytes);
}

int EffectInstance::UiRegistrations() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return uiRegistrations_;
}

PF_CustomUIInfo EffectInstance::RegisteredUi() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return registeredUi_;
}

PF_Err EffectInstance::CheckoutParam(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long what_time,
                                     A_long time_step, A_u_long time_scale, PF_ParamDef* param) {
    EffectInstance* instance = FromRef(effect_ref);
    if (instance == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    return instance->parameters_.Checkout(index, what_time, time_step, time_scale, param);
}

PF_Err EffectInstance::CheckinParam(PF_ProgPtr effect_ref, PF_ParamDef* param) {
    EffectInstance* instance = FromRef(effect_ref);
    if (instance == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    return instance->parameters_.Checkin(param);
}

PF_Err EffectInstance::AddParam(PF_ProgPtr effect_ref, PF_ParamIndex index, PF_ParamDefPtr def) {
    EffectInstance* instance = FromRef(effect_ref);
    if (instance == nullptr || def == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    return instance->parameters_.Add(index, *def);
}

PF_Err EffectInstance::Answer(PF_ProgPtr effect_ref, const char* function) {
    EffectInstance* instance = FromRef(effect_ref);
    if (instance == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    const auto fault = instance->faults_.Enter(function);
    return fault ? fault->Result(PF_Err_NONE) : PF_Err_NONE;
}

PF_Err EffectInstance::Abort(PF_ProgPtr effect_ref) {
    return Answer(effect_ref, "abort");
}

PF_Err EffectInstance::Progress(PF_ProgPtr effect_ref, A_long, A_long) {
    return Answer(effect_ref, "progress");
}

PF_Err EffectInstance::RegisterUi(PF_ProgPtr effect_ref, PF_CustomUIInfo* info) {
    EffectInstance* instance = FromRef(effect_ref);
    if (instance == nullptr || info == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    if (const auto fault = instance->faults_.Enter("register_ui")) {
        return fault->Result(PF_Err_NONE);
    }
    std::lock_guard<std::mutex> lock(instance->mutex_);
    ++instance->uiRegistrations_;
    instance->registeredUi_ = *info;
    return PF_Err_NONE;
}

PF_Err EffectInstance::CheckoutLayer(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long checkout_id,
                                     const PF_RenderRequest* request, A_long what_time,
                                     A_long time_step, A_u_long time_scale,
                                     PF_CheckoutResult* result) {
    EffectInstance* instance = FromRef(effect_ref);
    if (instance == nullptr || request == nullptr || result == nullptr ||
        currentPreRender == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    if (const auto fault = instance->faults_.Enter("checkout_layer")) {
        return fault->Result(PF_Err_BAD_CALLBACK_PARAM);
    }
    if (index < 0 || index >= instance->parameters_.Count() ||
        instance->parameters_.At(index).param_type != PF_Param_LAYER) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    // The host can give what the request asks for inside the layer, and at most the layer.
    const InstanceSettings settings = instance->Settings();
    const PF_LRect layer = {0, 0, settings.width, settings.height};
    *result = PF_CheckoutResult{};
    result->result_rect = Intersection(request->rect, layer);
    result->max_result_rect = layer;
    result->par = PF_RationalScale{1, 1};
    result->ref_width = settings.width;
    result->ref_height = settings.height;
    currentPreRender->checkouts.push_back(
        LayerCheckout{index, checkout_id, *request, what_time, time_step, time_scale, *result});
    return PF_Err_NONE;
}

}  // namespace quorvel::host
