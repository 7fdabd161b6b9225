#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "host/parameters.h"
#include "host_api/effect.h"
#include "host_api/suites.h"

namespace quorvel::host {

class Faults;
class HandleRegistry;
class Ledger;
class Module;

// What the host puts into every command's PF_InData. Change it between commands.
struct InstanceSettings {
    // PF_APPL_ID_AFTER_EFFECTS for the compositing host, PF_APPL_ID_PREMIERE for the editor.
    A_long applicationId = PF_APPL_ID_AFTER_EFFECTS;
    // False: in_data->pica_basicP is null, as for a host without the basic suite.
    bool basicSuite = true;
    A_long width = 640;
    A_long height = 360;
    // The time of the command in time_scale units; 24 frames per second by default.
    A_long currentTime = 0;
    A_long timeStep = 100;
    A_u_long timeScale = 2400;
};

// While it lives, the commands that its thread sends to one instance use these settings in
// place of the instance's own, and Settings and SetSettings on that thread see them: frames of
// different times rendered at once on several threads. Scopes nest per thread.
class ThreadSettings {
  public:
    ThreadSettings(const class EffectInstance& effect, const InstanceSettings& settings);
    ~ThreadSettings();
    ThreadSettings(const ThreadSettings&) = delete;
    ThreadSettings& operator=(const ThreadSettings&) = delete;

    // The settings in force on the calling thread for effect, or null.
    static InstanceSettings* For(const class EffectInstance& effect);

  private:
    const class EffectInstance* effect_;
    InstanceSettings settings_;
    ThreadSettings* previous_;
};

// One command's outcome: the module's result and the PF_OutData it filled.
struct CommandResult {
    PF_Err err;
    PF_OutData out;
    // The params array's definitions as the module left them (change flags included).
    std::vector<PF_ParamDef> params;

    // out.return_msg as text.
    std::string Message() const;
};

// One input check-out of a pre-render: the arguments the module passed to checkout_layer.
struct LayerCheckout {
    PF_ParamIndex index;
    A_long checkoutId;
    PF_RenderRequest request;
    A_long what_time;
    A_long time_step;
    A_u_long time_scale;
    PF_CheckoutResult result;
};

// A PF_Cmd_SMART_PRE_RENDER's outcome: the command's result, the pre-render output the module
// filled and the layers it checked out.
struct PreRenderResult {
    CommandResult command;
    PF_PreRenderOutput output;
    std::vector<LayerCheckout> checkouts;
};

// The one effect instance the host drives. Each command gets a fresh PF_InData and
// PF_OutData; what lasts between commands (version and flags, global and sequence data, the
// saved sequence record, the parameters) is kept here, the way the host keeps it. Commands
// may be sent from several threads at once.
class EffectInstance {
  public:
    EffectInstance(const Module& module, Ledger& ledger, Faults& faults, HandleRegistry& handles);
    ~EffectInstance();
    EffectInstance(const EffectInstance&) = delete;
    EffectInstance& operator=(const EffectInstance&) = delete;

    // Sends cmd with its extra record and output layer; the params array holds the
    // definitions with their values at the command's time (none for the smart commands, which
    // check parameters out). After PF_Cmd_PARAMS_SETUP each ramp gets its value; a value that
    // the effect fails to copy is the command's error.
    CommandResult Send(PF_Cmd cmd, void* extra = nullptr, PF_LayerDef* output = nullptr);

    // PF_Cmd_SMART_PRE_RENDER for request; output starts as given.
    PreRenderResult SmartPreRender(const PF_RenderRequest& request,
                                   const PF_PreRenderOutput& output = PF_PreRenderOutput{});

    InstanceSettings Settings() const;
    void SetSettings(const InstanceSettings& settings);
    Parameters& parameters() { return parameters_; }

    // What GLOBAL_SETUP (and QUERY_DYNAMIC_FLAGS) reported.
    A_u_long Version() const;
    A_long OutFlags() const;
    A_long OutFlags2() const;

    PF_Handle GlobalData() const;
    PF_Handle SequenceData() const;
    // The last flat sequence record the module handed over (SEQUENCE_FLATTEN or
    // GET_FLATTENED_SEQUENCE_DATA), as the host saves it.
    std::vector<uint8_t> SavedSequence() const;
    // Gives the instance sequence data as a loaded project would: a handle kept by the host
    // holding bytes (none: a handle without memory). The previous one is disposed.
    void LoadSequenceData(const std::vector<uint8_t>& bytes);

    // The callbacks of in_data->inter and of the pre-render extra; effect_ref must be the
    // instance's own.
    static PF_Err CheckoutParam(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long what_time,
                                A_long time_step, A_u_long time_scale, PF_ParamDef* param);
    static PF_Err CheckinParam(PF_ProgPtr effect_ref, PF_ParamDef* param);
    static PF_Err AddParam(PF_ProgPtr effect_ref, PF_ParamIndex index, PF_ParamDefPtr def);
    static PF_Err Abort(PF_ProgPtr effect_ref);
    static PF_Err Progress(PF_ProgPtr effect_ref, A_long current, A_long total);
    static PF_Err RegisterUi(PF_ProgPtr effect_ref, PF_CustomUIInfo* info);
    static PF_Err CheckoutLayer(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long checkout_id,
                                const PF_RenderRequest* request, A_long what_time, A_long time_step,
                                A_u_long time_scale, PF_CheckoutResult* result);

    // The custom UI the module registered, and how often.
    int UiRegistrations() const;
    PF_CustomUIInfo RegisteredUi() const;

  private:
    static EffectInstance* FromRef(PF_ProgPtr effect_ref);
    // A callback that only answers: PF_Err_NONE, or the fault armed for function.
    static PF_Err Answer(PF_ProgPtr effect_ref, const char* function);
    PF_InData MakeInData(const InstanceSettings& settings);
    void TakeOver(PF_Cmd cmd, const PF_OutData& out);
    void SetSequence(PF_Handle handle);

    const Module& module_;
    Ledger& ledger_;
    Faults& faults_;
    HandleRegistry& handles_;
    Parameters parameters_;
    PF_UtilCallbacks utils_;

    mutable std::mutex mutex_;
    InstanceSettings settings_;
    A_u_long version_ = 0;
    A_long outFlags_ = 0;
    A_long outFlags2_ = 0;
    PF_Handle globalData_ = nullptr;
    bool globallySetUp_ = false;
    PF_Handle sequenceData_ = nullptr;
    std::vector<uint8_t> savedSequence_;
    int uiRegistrations_ = 0;
    PF_CustomUIInfo registeredUi_ = {};
};

}  // namespace quorvel::host
