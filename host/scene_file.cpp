#include "host/scene_file.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <set>
#include <sstream>
#include <utility>

#include "host/layer_limits.h"

namespace quorvel::host {

namespace {

using Json = nlohmann::ordered_json;

std::string Child(const SceneLocation& where, const std::string& key) {
    return where.empty() ? key : where + "." + key;
}

std::string Element(const SceneLocation& where, std::size_t index) {
    return where + "[" + std::to_string(index) + "]";
}

struct DepthWord {
    Depth depth;
    const char* word;
};

constexpr DepthWord kDepthWords[] = {
    {Depth::Bits8, "8"}, {Depth::Bits16, "16"}, {Depth::Float, "32"}, {Depth::Float, "float"}};

// What parsing would lose or choke on, found before the text becomes a value: a repeated key,
// of which the value keeps only one (a second "Offset" would silently win), and nesting
// beyond a few levels, which no scene needs and which copying a value recurses through (a
// hostile file of nested arrays would overflow the stack).
class SceneTextCheck : public nlohmann::json_sax<Json> {
  public:
    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override {
        openKeys_.emplace_back();
        return Open();
    }
    bool key(string_t& key) override {
        if (!openKeys_.back().insert(key).second && duplicate.empty()) {
            duplicate = key;
        }
        return true;
    }
    bool end_object() override {
        openKeys_.pop_back();
        --depth_;
        return true;
    }
    bool start_array(std::size_t) override { return Open(); }
    bool end_array() override {
        --depth_;
        return true;
    }
    bool parse_error(std::size_t, const std::string&,
                     const nlohmann::detail::exception& error) override {
        throw error;
    }

    bool tooDeep = false;
    std::string duplicate;

  private:
    // False ends the parse.
    bool Open() {
        tooDeep = ++depth_ > kMaxSceneNesting;
        return !tooDeep;
    }

    int depth_ = 0;
    std::vector<std::set<std::string>> openKeys_;
};

class SceneReader {
  public:
    explicit SceneReader(std::string path) : path_(std::move(path)) {}

    Scene Read(const std::string& text);

  private:
    [[noreturn]] void Fail(const SceneLocation& where, const std::string& problem) const {
        throw SceneError(path_ + ": " + (where.empty() ? std::string() : where + ": ") + problem);
    }

    Json Parse(const std::string& text) const;
    void CheckKeys(const Json& object, const SceneLocation& where,
                   std::initializer_list<const char*> allowed) const;
    const Json& RequireObject(const Json& value, const SceneLocation& where) const;
    const Json& RequireArray(const Json& value, const SceneLocation& where) const;
    double Number(const Json& value, const SceneLocation& where) const;
    double NumberIn(const Json& value, const SceneLocation& where, double low, double high) const;
    long long Integer(const Json& value, const SceneLocation& where, long long low,
                      long long high) const;
    double Coordinate(const Json& value, const SceneLocation& where) const {
        return NumberIn(value, where, -kMaxMaskCoordinate, kMaxMaskCoordinate);
    }
    std::pair<double, double> Pair(const Json& value, const SceneLocation& where) const;
    double KeyTime(const Json& object, const SceneLocation& where) const;
    // Walks a "keyframes" array: objects with "time" or "frame" and a member named valueKey,
    // in increasing time; take gets each key's time, that member and the key's place.
    template <typename Take>
    void ReadKeys(const Json& keys, const SceneLocation& keysWhere, const char* valueKey,
                  Take take) const;
    long long MaxFrame() const {
        return static_cast<long long>(std::floor(kMaxSceneTime * frameRate_));
    }

    void ReadSize(const Json& root, Scene& scene) const;
    void ReadDepth(const Json& root, Scene& scene) const;
    void ReadRenderTime(const Json& root, Scene& scene) const;
    void ReadLayer(const Json& root, Scene& scene) const;
    void ReadMasks(const Json& root, Scene& scene) const;
    SceneMask ReadMask(const Json& value, const SceneLocation& where, std::size_t index) const;
    std::vector<SceneVertex> ReadVertices(const Json& value, const SceneLocation& where) const;
    SceneVertex ReadVertex(const Json& value, const SceneLocation& where) const;
    void ReadParameters(const Json& root, Scene& scene) const;
    SceneParameter ReadParameter(const std::string& name, const Json& value,
                                 const SceneLocation& where) const;

    std::string path_;
    double frameRate_ = 25.0;
};

Json SceneReader::Parse(const std::string& text) const {
    SceneTextCheck check;
    Json root;
    try {
        // A pass of its own, since the parser's callbacks scan the parent value after every
        // object, which makes long keyframe lists quadratic.
        if (Json::sax_parse(text, &check)) {
            root = Json::parse(text);
        }
    } catch (const Json::exception& error) {
        std::string message = error.what();
        const std::size_t prefixEnd = message.find("] ");
        if (prefixEnd != std::string::npos) {
            message.erase(0, prefixEnd + 2);
        }
        Fail("", "invalid JSON: " + message);
    }
    if (check.tooDeep) {
        Fail("",
             "objects and arrays nest deeper than " + std::to_string(kMaxSceneNesting) + " levels");
    }
    if (!check.duplicate.empty()) {
        Fail("", "the key " + Quoted(check.duplicate) + " appears twice in one object");
    }
    return root;
}

void SceneReader::CheckKeys(const Json& object, const SceneLocation& where,
                            std::initializer_list<const char*> allowed) const {
    for (const auto& item : object.items()) {
        bool known = false;
        std::string expected;
        for (const char* key : allowed) {
            known = known || item.key() == key;
            expected += (expected.empty() ? "" : ", ") + Quoted(key);
        }
        if (!known) {
            Fail(where, "unknown key " + Quoted(item.key()) + " (expected " + expected + ")");
        }
    }
}

const Json& SceneReader::RequireObject(const Json& value, const SceneLocation& where) const {
    if (!value.is_object()) {
        Fail(where, "expected an object {...}");
    }
    return value;
}

const Json& SceneReader::RequireArray(const Json& value, const SceneLocation& where) const {
    if (!value.is_array() || value.empty()) {
        Fail(where, "expected a non-empty array [...]");
    }
    return value;
}

double SceneReader::Number(const Json& value, const SceneLocation& where) const {
    if (!value.is_number()) {
        Fail(where, "expected a number");
    }
    const double number = value.get<double>();
    if (!std::isfinite(number)) {
        Fail(where, "the number is too large");
    }
    return number;
}

double SceneReader::NumberIn(const Json& value, const SceneLocation& where, double low,
                             double high) const {
    const double number = Number(value, where);
    if (number < low || number > high) {
        Fail(where, FormatSceneNumber(number) + " is outside the range " + FormatSceneNumber(low) +
                        " .. " + FormatSceneNumber(high));
    }
    return number;
}

long long SceneReader::Integer(const Json& value, const SceneLocation& where, long long low,
                               long long high) const {
    const double number = Number(value, where);
    if (number != std::floor(number)) {
        Fail(where, FormatSceneNumber(number) + " is not a whole number");
    }
    if (number < static_cast<double>(low) || number > static_cast<double>(high)) {
        Fail(where, FormatSceneNumber(number) + " is outside the range " + std::to_string(low) +
                        " .. " + std::to_string(high));
    }
    return static_cast<long long>(number);
}

std::pair<double, double> SceneReader::Pair(const Json& value, const SceneLocation& where) const {
    if (!value.is_array() || value.size() != 2) {
        Fail(where, "expected two numbers [x, y]");
    }
    return {Coordinate(value[0], Element(where, 0)), Coordinate(value[1], Element(where, 1))};
}

double SceneReader::KeyTime(const Json& object, const SceneLocation& where) const {
    const bool hasTime = object.contains("time");
    const bool hasFrame = object.contains("frame");
    if (hasTime == hasFrame) {
        Fail(where, "give either \"time\" (seconds) or \"frame\"");
    }
    if (hasTime) {
        return NumberIn(object["time"], Child(where, "time"), 0.0, kMaxSceneTime);
    }
    return static_cast<double>(Integer(object["frame"], Child(where, "frame"), 0, MaxFrame())) /
           frameRate_;
}

template <typename Take>
void SceneReader::ReadKeys(const Json& keys, const SceneLocation& keysWhere, const char* valueKey,
                           Take take) const {
    RequireArray(keys, keysWhere);
    double previous = 0.0;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const SceneLocation keyWhere = Element(keysWhere, i);
        RequireObject(keys[i], keyWhere);
        CheckKeys(keys[i], keyWhere, {"time", "frame", valueKey});
        if (!keys[i].contains(valueKey)) {
            Fail(keyWhere, "missing " + Quoted(valueKey));
        }
        const double time = KeyTime(keys[i], keyWhere);
        if (i > 0 && time <= previous) {
            Fail(keyWhere, "keyframes must be in increasing time");
        }
        previous = time;
        take(time, keys[i][valueKey], keyWhere);
    }
}

void SceneReader::ReadSize(const Json& root, Scene& scene) const {
    const bool hasWidth = root.contains("width");
    if (hasWidth != root.contains("height")) {
        Fail(hasWidth ? "width" : "height", "give both \"width\" and \"height\", or neither");
    }
    if (!hasWidth) {
        return;
    }
    scene.width = static_cast<int>(Integer(root["width"], "width", 1, kMaxLayerSide));
    scene.height = static_cast<int>(Integer(root["height"], "height", 1, kMaxLayerSide));
    if (!IsLayerSizeAllowed(scene.width, scene.height)) {
        Fail("height", "the frame " + std::to_string(scene.width) + " x " +
                           std::to_string(scene.height) + " has more than " +
                           std::to_string(kMaxLayerPixels) + " pixels");
    }
}

void SceneReader::ReadDepth(const Json& root, Scene& scene) const {
    if (!root.contains("depth")) {
        return;
    }
    const Json& value = root["depth"];
    std::optional<Depth> depth;
    if (value.is_string()) {
        depth = ParseDepth(value.get<std::string>());
    } else if (value.is_number_integer()) {
        depth = ParseDepth(std::to_string(value.get<long long>()));
    }
    if (!depth) {
        Fail("depth", "expected 8, 16 or 32 (\"float\")");
    }
    scene.depth = *depth;
}

void SceneReader::ReadRenderTime(const Json& root, Scene& scene) const {
    const int given = static_cast<int>(root.contains("time")) +
                      static_cast<int>(root.contains("frame")) +
                      static_cast<int>(root.contains("frames"));
    if (given > 1) {
        Fail("", "give only one of \"time\", \"frame\" and \"frames\"");
    }
    if (root.contains("time")) {
        scene.time = NumberIn(root["time"], "time", 0.0, kMaxSceneTime);
    } else if (root.contains("frame")) {
        scene.time =
            static_cast<double>(Integer(root["frame"], "frame", 0, MaxFrame())) / frameRate_;
    } else if (root.contains("frames")) {
        const Json& frames = root["frames"];
        if (!frames.is_array() || frames.size() != 2) {
            Fail("frames", "expected [first, last]");
        }
        const long long first = Integer(frames[0], "frames[0]", 0, MaxFrame());
        const long long last = Integer(frames[1], "frames[1]", first, MaxFrame());
        scene.firstFrame = static_cast<int>(first);
        scene.lastFrame = static_cast<int>(last);
        scene.time = static_cast<double>(first) / frameRate_;
    }
}

void SceneReader::ReadLayer(const Json& root, Scene& scene) const {
    if (root.contains("layer")) {
        const Json& layer = root["layer"];
        if (layer.is_string() && layer.get<std::string>() == "testCard") {
            scene.layer.testCard = true;
        } else if (layer.is_object()) {
            CheckKeys(layer, "layer", {"image"});
            if (!layer.contains("image") || !layer["image"].is_string() ||
                layer["image"].get<std::string>().empty()) {
                Fail("layer", "expected {\"image\": \"file name\"}");
            }
            const std::filesystem::path image = layer["image"].get<std::string>();
            const std::filesystem::path folder = std::filesystem::path(path_).parent_path();
            scene.layer.testCard = false;
            scene.layer.imagePath = (image.is_absolute() ? image : folder / image).string();
            std::error_code error;
            if (!std::filesystem::is_regular_file(scene.layer.imagePath, error)) {
                Fail("layer.image", "image file not found: " + scene.layer.imagePath);
            }
        } else {
            Fail("layer", "expected \"testCard\" or {\"image\": \"file name\"}");
        }
    }
    if (scene.layer.testCard && scene.width == 0) {
        Fail("", "a scene with the test card as its layer needs \"width\" and \"height\"");
    }
}

SceneVertex SceneReader::ReadVertex(const Json& value, const SceneLocation& where) const {
    SceneVertex vertex;
    if (value.is_array() && (value.size() == 2 || value.size() == 6)) {
        double* const fields[] = {&vertex.x,   &vertex.y,    &vertex.inX,
                                  &vertex.inY, &vertex.outX, &vertex.outY};
        for (std::size_t i = 0; i < value.size(); ++i) {
            *fields[i] = Coordinate(value[i], Element(where, i));
        }
        return vertex;
    }
    if (!value.is_object() || !value.contains("point")) {
        Fail(where,
             "expected [x, y], [x, y, inX, inY, outX, outY] or "
             "{\"point\": [x, y], \"in\": [dx, dy], \"out\": [dx, dy]}");
    }
    CheckKeys(value, where, {"point", "in", "out"});
    std::tie(vertex.x, vertex.y) = Pair(value["point"], Child(where, "point"));
    if (value.contains("in")) {
        std::tie(vertex.inX, vertex.inY) = Pair(value["in"], Child(where, "in"));
    }
    if (value.contains("out")) {
        std::tie(vertex.outX, vertex.outY) = Pair(value["out"], Child(where, "out"));
    }
    return vertex;
}

std::vector<SceneVertex> SceneReader::ReadVertices(const Json& value,
                                                   const SceneLocation& where) const {
    RequireArray(value, where);
    std::vector<SceneVertex> vertices;
    for (std::size_t i = 0; i < value.size(); ++i) {
        vertices.push_back(ReadVertex(value[i], Element(where, i)));
    }
    return vertices;
}

SceneMask SceneReader::ReadMask(const Json& value, const SceneLocation& where,
                                std::size_t index) const {
    RequireObject(value, where);
    CheckKeys(value, where, {"name", "closed", "vertices", "keyframes"});
    SceneMask mask;
    mask.name = "Mask " + std::to_string(index + 1);
    if (value.contains("name")) {
        if (!value["name"].is_string() || value["name"].get<std::string>().empty()) {
            Fail(Child(where, "name"), "expected a non-empty text");
        }
        mask.name = value["name"].get<std::string>();
    }
    if (value.contains("closed")) {
        if (!value["closed"].is_boolean()) {
            Fail(Child(where, "closed"), "expected true or false");
        }
        mask.closed = value["closed"].get<bool>();
    }
    if (value.contains("vertices") == value.contains("keyframes")) {
        Fail(where, "give either \"vertices\" or \"keyframes\"");
    }
    if (value.contains("vertices")) {
        mask.keys.push_back({0.0, ReadVertices(value["vertices"], Child(where, "vertices"))});
        return mask;
    }
    ReadKeys(
        value["keyframes"], Child(where, "keyframes"), "vertices",
        [&](double time, const Json& vertices, const SceneLocation& keyWhere) {
            SceneMaskKey key{time, ReadVertices(vertices, Child(keyWhere, "vertices"))};
            if (!mask.keys.empty() && key.vertices.size() != mask.keys.front().vertices.size()) {
                Fail(keyWhere, "every keyframe of a mask needs the same number of vertices (" +
                                   std::to_string(mask.keys.front().vertices.size()) + ")");
            }
            mask.keys.push_back(std::move(key));
        });
    return mask;
}

void SceneReader::ReadMasks(const Json& root, Scene& scene) const {
    if (!root.contains("masks")) {
        return;
    }
    const Json& masks = root["masks"];
    if (!masks.is_array()) {
        Fail("masks", "expected an array [...]");
    }
    std::set<std::string> names;
    for (std::size_t i = 0; i < masks.size(); ++i) {
        const SceneLocation where = Element("masks", i);
        SceneMask mask = ReadMask(masks[i], where, i);
        if (!names.insert(mask.name).second) {
            Fail(where, "another mask is already named " + Quoted(mask.name));
        }
        scene.masks.push_back(std::move(mask));
    }
}

SceneParameter SceneReader::ReadParameter(const std::string& name, const Json& value,
                                          const SceneLocation& where) const {
    SceneParameter parameter;
    parameter.name = name;
    parameter.location = where;
    if (!value.is_object() || !value.contains("keyframes")) {
        parameter.keys.push_back({0.0, value, where});
        return parameter;
    }
    CheckKeys(value, where, {"keyframes"});
    parameter.keyframed = true;
    ReadKeys(value["keyframes"], Child(where, "keyframes"), "value",
             [&](double time, const Json& keyValue, const SceneLocation& keyWhere) {
                 parameter.keys.push_back({time, keyValue, Child(keyWhere, "value")});
             });
    return parameter;
}

void SceneReader::ReadParameters(const Json& root, Scene& scene) const {
    if (!root.contains("parameters")) {
        return;
    }
    const Json& parameters = RequireObject(root["parameters"], "parameters");
    for (const auto& item : parameters.items()) {
        scene.parameters.push_back(
            ReadParameter(item.key(), item.value(), Child("parameters", Quoted(item.key()))));
    }
}

Scene SceneReader::Read(const std::string& text) {
    const Json root = Parse(text);
    if (!root.is_object()) {
        Fail("", "a scene is a JSON object {...}");
    }
    CheckKeys(root, "",
              {"width", "height", "depth", "frameRate", "time", "frame", "frames", "layer", "masks",
               "parameters"});
    Scene scene;
    scene.path = path_;
    if (root.contains("frameRate")) {
        frameRate_ = NumberIn(root["frameRate"], "frameRate", kMinFrameRate, kMaxFrameRate);
    }
    scene.frameRate = frameRate_;
    ReadSize(root, scene);
    ReadDepth(root, scene);
    ReadRenderTime(root, scene);
    ReadLayer(root, scene);
    ReadMasks(root, scene);
    ReadParameters(root, scene);
    return scene;
}

}  // namespace

std::string FormatSceneNumber(double value) {
    char text[32] = {};
    for (int digits = 6; digits <= 17; ++digits) {
        std::snprintf(text, sizeof(text), "%.*g", digits, value);
        if (std::strtod(text, nullptr) == value) {
            break;
        }
    }
    return text;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::optional<Depth> ParseDepth(const std::string& word) {
    for (const DepthWord& row : kDepthWords) {
        if (word == row.word) {
            return row.depth;
        }
    }
    return std::nullopt;
}

const char* DepthName(Depth depth) {
    for (const DepthWord& row : kDepthWords) {
        if (depth == row.depth) {
            return row.word;
        }
    }
    return "?";
}

Scene ParseScene(const std::string& text, const std::string& path) {
    return SceneReader(path).Read(text);
}

Scene LoadSceneFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::error_code error;
    if (!file || std::filesystem::is_directory(path, error)) {
        throw SceneError(path + ": cannot open the scene file");
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) {
        throw SceneError(path + ": cannot read the scene file");
    }
    return ParseScene(text.str(), path);
}

}  // namespace quorvel::host
