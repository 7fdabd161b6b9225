#include "host/scene_parameters.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

#include "host/scene_file.h"

namespace quorvel::host {

namespace {

using Json = nlohmann::ordered_json;

// The ramp's words, in the order of their values.
constexpr const char* kRampModes[] = {"all", "withoutSin"};
constexpr const char* kRampInterpolations[] = {"sin", "line", "step", "bezier"};

std::vector<std::string> SplitChoices(const char* names) {
    std::vector<std::string> choices;
    if (names == nullptr) {
        return choices;
    }
    std::string choice;
    for (const char* at = names; *at != '\0'; ++at) {
        if (*at == '|') {
            choices.push_back(choice);
            choice.clear();
        } else {
            choice += *at;
        }
    }
    choices.push_back(choice);
    return choices;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Edits (insert, delete, replace) between two texts, compared without case.
std::size_t EditDistance(const std::string& left, const std::string& right) {
    const std::string a = Lower(left);
    const std::string b = Lower(right);
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

bool HoldsValue(PF_ParamType type) {
    return type != PF_Param_LAYER && type != PF_Param_GROUP_START && type != PF_Param_GROUP_END &&
           type != PF_Param_NO_DATA;
}

std::string TypeWord(PF_ParamType type) {
    switch (type) {
        case PF_Param_GROUP_START:
        case PF_Param_GROUP_END:
            return "a group of parameters";
        case PF_Param_LAYER:
            return "the input layer";
        default:
            return "a parameter without a value";
    }
}

class ParameterResolver {
  public:
    ParameterResolver(const Scene& scene, const std::vector<ParameterDescription>& parameters)
        : scene_(scene), parameters_(parameters) {}

    ParameterSetting Resolve(const SceneParameter& parameter) const;

  private:
    [[noreturn]] void Fail(const SceneLocation& where, const std::string& problem) const {
        throw SceneError(scene_.path + ": " + where + ": " + problem);
    }

    const ParameterDescription& Find(const SceneParameter& parameter) const;
    ParameterValue Value(const ParameterDescription& description, const Json& value,
                         const SceneLocation& where) const;
    double Number(const Json& value, const SceneLocation& where) const;
    double FloatSlider(const ParameterDescription& description, const Json& value,
                       const SceneLocation& where) const;
    double IntSlider(const ParameterDescription& description, const Json& value,
                     const SceneLocation& where) const;
    double Popup(const ParameterDescription& description, const Json& value,
                 const SceneLocation& where) const;
    double Path(const Json& value, const SceneLocation& where) const;
    RampSetting Ramp(const Json& value, const SceneLocation& where) const;

    const Scene& scene_;
    const std::vector<ParameterDescription>& parameters_;
};

const ParameterDescription& ParameterResolver::Find(const SceneParameter& parameter) const {
    // Some groups share their name with the ramp inside them; the parameter that holds a
    // value wins.
    const ParameterDescription* group = nullptr;
    for (const ParameterDescription& description : parameters_) {
        if (description.name != parameter.name) {
            continue;
        }
        if (HoldsValue(description.type)) {
            return description;
        }
        group = &description;
    }
    if (group != nullptr) {
        Fail(parameter.location,
             Quoted(parameter.name) + " is " + TypeWord(group->type) + " and takes no value");
    }
    std::string closest;
    std::size_t closestDistance = 4;
    for (const ParameterDescription& description : parameters_) {
        const std::size_t distance = EditDistance(parameter.name, description.name);
        if (HoldsValue(description.type) && distance < closestDistance) {
            closest = description.name;
            closestDistance = distance;
        }
    }
    Fail(parameter.location,
         "the effect has no parameter of this name" +
             (closest.empty() ? std::string() : " (did you mean " + Quoted(closest) + "?)"));
}

double ParameterResolver::Number(const Json& value, const SceneLocation& where) const {
    if (!value.is_number() || !std::isfinite(value.get<double>())) {
        Fail(where, "expected a number");
    }
    return value.get<double>();
}

double ParameterResolver::FloatSlider(const ParameterDescription& description, const Json& value,
                                      const SceneLocation& where) const {
    const double number = Number(value, where);
    // The limits are single-precision floats, so a value written with fewer digits (such as
    // 3.4028235e38 for the largest float) may lie a rounding step outside; it is taken as
    // the limit.
    const double lowSlack = std::abs(description.validMin) * 1e-7;
    const double highSlack = std::abs(description.validMax) * 1e-7;
    if (number < description.validMin - lowSlack || number > description.validMax + highSlack) {
        Fail(where, FormatSceneNumber(number) + " is outside the valid range " +
                        FormatSceneNumber(description.validMin) + " .. " +
                        FormatSceneNumber(description.validMax));
    }
    return std::clamp(number, description.validMin, description.validMax);
}

double ParameterResolver::IntSlider(const ParameterDescription& description, const Json& value,
                                    const SceneLocation& where) const {
    const double number = Number(value, where);
    if (number != std::floor(number)) {
        Fail(where, FormatSceneNumber(number) + " is not a whole number");
    }
    if (number < description.validMin || number > description.validMax) {
        Fail(where, FormatSceneNumber(number) + " is outside the valid range " +
                        FormatSceneNumber(description.validMin) + " .. " +
                        FormatSceneNumber(description.validMax));
    }
    return number;
}

double ParameterResolver::Popup(const ParameterDescription& description, const Json& value,
                                const SceneLocation& where) const {
    std::string choices;
    for (std::size_t i = 0; i < description.choices.size(); ++i) {
        if (value.is_string() && value.get<std::string>() == description.choices[i]) {
            return static_cast<double>(i + 1);
        }
        choices += (choices.empty() ? "" : ", ") + Quoted(description.choices[i]);
    }
    if (value.is_number_integer()) {
        const long long choice = value.get<long long>();
        if (choice >= 1 && choice <= static_cast<long long>(description.choices.size())) {
            return static_cast<double>(choice);
        }
    }
    Fail(where, "expected one of " + choices + " or its number 1 .. " +
                    std::to_string(description.choices.size()));
}

double ParameterResolver::Path(const Json& value, const SceneLocation& where) const {
    if (value.is_null()) {
        return 0.0;
    }
    if (value.is_string()) {
        for (std::size_t i = 0; i < scene_.masks.size(); ++i) {
            if (scene_.masks[i].name == value.get<std::string>()) {
                return static_cast<double>(i + 1);
            }
        }
        Fail(where, "the scene has no mask named " + Quoted(value.get<std::string>()));
    }
    if (value.is_number_integer() && value.get<long long>() >= 0 &&
        value.get<long long>() <= static_cast<long long>(scene_.masks.size())) {
        return static_cast<double>(value.get<long long>());
    }
    Fail(where, "expected a mask's name, its number 1 .. " + std::to_string(scene_.masks.size()) +
                    ", or null (no mask)");
}

template <std::size_t Count>
std::int32_t WordValue(const char* const (&words)[Count], const Json& value) {
    for (std::size_t i = 0; i < Count; ++i) {
        if (value.is_string() && value.get<std::string>() == words[i]) {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

RampSetting ParameterResolver::Ramp(const Json& value, const SceneLocation& where) const {
    if (!value.is_object() || !value.contains("interpolation") || !value.contains("points")) {
        Fail(where, "expected a curve {\"interpolation\": \"sin\", \"points\": [[t, v], ...]}");
    }
    for (const auto& item : value.items()) {
        if (item.key() != "mode" && item.key() != "interpolation" && item.key() != "points") {
            Fail(where, "unknown key " + Quoted(item.key()) +
                            " (expected \"mode\", \"interpolation\", \"points\")");
        }
    }
    RampSetting ramp;
    ramp.interpolation = WordValue(kRampInterpolations, value["interpolation"]);
    if (ramp.interpolation < 0) {
        Fail(where + ".interpolation", "expected \"sin\", \"line\", \"step\" or \"bezier\"");
    }
    if (value.contains("mode")) {
        ramp.mode = WordValue(kRampModes, value["mode"]);
        if (ramp.mode < 0) {
            Fail(where + ".mode", "expected \"all\" or \"withoutSin\"");
        }
    }
    const Json& points = value["points"];
    if (!points.is_array() || points.empty()) {
        Fail(where + ".points", "expected a non-empty array of points [t, v]");
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        const SceneLocation pointWhere = where + ".points[" + std::to_string(i) + "]";
        if (!points[i].is_array() || points[i].size() != 2) {
            Fail(pointWhere, "expected a point [t, v]");
        }
        const double t = Number(points[i][0], pointWhere);
        const double v = Number(points[i][1], pointWhere);
        if (t < 0.0 || t > 1.0 || v < 0.0 || v > 1.0) {
            Fail(pointWhere, "t and v must lie in 0 .. 1");
        }
        ramp.points.emplace_back(static_cast<float>(t), static_cast<float>(v));
    }
    std::sort(ramp.points.begin(), ramp.points.end());
    for (std::size_t i = 1; i < ramp.points.size(); ++i) {
        if (ramp.points[i].first == ramp.points[i - 1].first) {
            Fail(where + ".points", "two points at t = " + FormatSceneNumber(ramp.points[i].first));
        }
    }
    return ramp;
}

ParameterValue ParameterResolver::Value(const ParameterDescription& description, const Json& value,
                                        const SceneLocation& where) const {
    ParameterValue result;
    switch (description.type) {
        case PF_Param_FLOAT_SLIDER:
            result.number = FloatSlider(description, value, where);
            break;
        case PF_Param_SLIDER:
            result.number = IntSlider(description, value, where);
            break;
        case PF_Param_CHECKBOX:
            if (value.is_boolean()) {
                result.number = value.get<bool>() ? 1.0 : 0.0;
            } else if (value.is_number_integer() &&
                       (value.get<long long>() == 0 || value.get<long long>() == 1)) {
                result.number = static_cast<double>(value.get<long long>());
            } else {
                Fail(where, "expected true or false");
            }
            break;
        case PF_Param_POPUP:
            result.number = Popup(description, value, where);
            break;
        case PF_Param_PATH:
            result.number = Path(value, where);
            break;
        case PF_Param_ARBITRARY_DATA:
            result.ramp = Ramp(value, where);
            break;
        default:
            Fail(where, "parameters of this kind cannot be set from a scene");
    }
    return result;
}

ParameterSetting ParameterResolver::Resolve(const SceneParameter& parameter) const {
    const ParameterDescription& description = Find(parameter);
    if (parameter.keyframed && !description.canTimeVary) {
        Fail(parameter.location, Quoted(parameter.name) + " cannot change over time");
    }
    ParameterSetting setting;
    setting.index = description.index;
    setting.type = description.type;
    setting.name = description.name;
    setting.keyframed = parameter.keyframed;
    for (const SceneParameterKey& key : parameter.keys) {
        setting.keys.push_back({key.time, Value(description, key.value, key.location)});
    }
    return setting;
}

void AppendLittleEndian(std::vector<unsigned char>& bytes, std::uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<unsigned char>(word >> shift));
    }
}

std::uint32_t FloatBits(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

}  // namespace

ParameterDescription DescribeParameter(PF_ParamIndex index, const PF_ParamDef& definition) {
    ParameterDescription description;
    description.index = index;
    description.name.assign(definition.name, strnlen(definition.name, sizeof(definition.name)));
    description.type = definition.param_type;
    description.canTimeVary = (definition.flags & PF_ParamFlag_CANNOT_TIME_VARY) == 0;
    switch (definition.param_type) {
        case PF_Param_FLOAT_SLIDER:
            description.validMin = definition.u.fs_d.valid_min;
            description.validMax = definition.u.fs_d.valid_max;
            break;
        case PF_Param_SLIDER:
            description.validMin = definition.u.sd.valid_min;
            description.validMax = definition.u.sd.valid_max;
            break;
        case PF_Param_POPUP:
            description.choices = SplitChoices(definition.u.pd.u.namesptr);
            break;
        default:
            break;
    }
    return description;
}

std::vector<unsigned char> FlattenRampSetting(const RampSetting& ramp) {
    std::vector<unsigned char> bytes;
    AppendLittleEndian(bytes, static_cast<std::uint32_t>(ramp.mode));
    AppendLittleEndian(bytes, static_cast<std::uint32_t>(ramp.interpolation));
    AppendLittleEndian(bytes, static_cast<std::uint32_t>(ramp.points.size()));
    for (const auto& [t, v] : ramp.points) {
        AppendLittleEndian(bytes, FloatBits(t));
        AppendLittleEndian(bytes, FloatBits(v));
    }
    return bytes;
}

std::vector<ParameterSetting> ResolveSceneParameters(
    const Scene& scene, const std::vector<ParameterDescription>& parameters) {
    const ParameterResolver resolver(scene, parameters);
    std::vector<ParameterSetting> settings;
    for (const SceneParameter& parameter : scene.parameters) {
        settings.push_back(resolver.Resolve(parameter));
    }
    return settings;
}

}  // namespace quorvel::host
