#include "host/project.h"

#include "host/effect_instance.h"

namespace quorvel::host {

namespace {

bool HoldsValue(PF_ParamType type) {
    switch (type) {
        case PF_Param_FLOAT_SLIDER:
        case PF_Param_SLIDER:
        case PF_Param_CHECKBOX:
        case PF_Param_POPUP:
        case PF_Param_PATH:
        case PF_Param_ARBITRARY_DATA:
            return true;
        default:
            return false;
    }
}

PF_Err SaveParameter(Parameters& parameters, PF_ParamIndex index, SavedParameter* saved) {
    const PF_ParamDef def = parameters.At(index);
    saved->savedId = def.uu.id;
    saved->type = def.param_type;
    if (const PF_Err err = parameters.GetValue(index, &saved->value)) {
        return err;
    }
    const size_t count = parameters.KeyframeCount(index);
    for (size_t key = 0; key < count; ++key) {
        std::pair<double, ParamValue> keyframe;
        if (const PF_Err err =
                parameters.GetKeyframe(index, key, &keyframe.first, &keyframe.second)) {
            return err;
        }
        saved->keyframes.push_back(std::move(keyframe));
    }
    return PF_Err_NONE;
}

PF_Err RestoreParameter(Parameters& parameters, const SavedParameter& saved) {
    const PF_ParamIndex index = parameters.FindSavedId(saved.savedId);
    if (index < 0 || parameters.At(index).param_type != saved.type) {
        return PF_Err_NONE;
    }
    if (const PF_Err err = parameters.SetValue(index, saved.value)) {
        return err;
    }
    if (const PF_Err err = parameters.ClearKeyframes(index)) {
        return err;
    }
    for (const auto& [time, value] : saved.keyframes) {
        if (const PF_Err err = parameters.SetKeyframe(index, time, value)) {
            return err;
        }
    }
    return PF_Err_NONE;
}

}  // namespace

PF_Err SaveProject(EffectInstance& effect, SavedProject* project) {
    SavedProject saved;
    if (effect.SequenceData() != nullptr) {
        if (const PF_Err err = effect.Send(PF_Cmd_SEQUENCE_FLATTEN).err) {
            return err;
        }
        saved.sequence = effect.SavedSequence();
        if (const PF_Err err = effect.Send(PF_Cmd_SEQUENCE_RESETUP).err) {
            return err;
        }
    }
    Parameters& parameters = effect.parameters();
    const A_long count = parameters.Count();
    for (PF_ParamIndex index = 1; index < count; ++index) {
        if (!HoldsValue(parameters.At(index).param_type)) {
            continue;
        }
        SavedParameter parameter;
        if (const PF_Err err = SaveParameter(parameters, index, &parameter)) {
            return err;
        }
        saved.parameters.push_back(std::move(parameter));
    }
    *project = std::move(saved);
    return PF_Err_NONE;
}

PF_Err RestoreProject(EffectInstance& effect, const SavedProject& project) {
    if (const PF_Err err = effect.Send(PF_Cmd_PARAMS_SETUP).err) {
        return err;
    }
    if (!project.sequence.empty()) {
        effect.LoadSequenceData(project.sequence);
        if (const PF_Err err = effect.Send(PF_Cmd_SEQUENCE_RESETUP).err) {
            return err;
        }
    }
    for (const SavedParameter& saved : project.parameters) {
        if (const PF_Err err = RestoreParameter(effect.parameters(), saved)) {
            return err;
        }
    }
    return PF_Err_NONE;
}

}  // namespace quorvel::host
