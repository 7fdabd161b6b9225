#include "host/drawbot_objects.h"

#include "host/host.h"

namespace quorvel::host {

namespace {

const char* KindName(DrawbotObject::Kind kind) {
    switch (kind) {
        case DrawbotObject::Kind::Pen:
            return "pen";
        case DrawbotObject::Kind::Brush:
            return "brush";
        case DrawbotObject::Kind::Path:
            return "path";
        case DrawbotObject::Kind::Image:
            return "image";
        case DrawbotObject::Kind::Font:
            return "font";
    }
    return "object";
}

}  // namespace

DrawbotObject* DrawbotObjects::Make(DrawbotObject object) {
    auto made = std::make_unique<DrawbotObject>(std::move(object));
    DrawbotObject* result = made.get();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const long serial = ++made_[result->kind];
        result->name = std::string("reference of Drawbot ") + KindName(result->kind) + " #" +
                       std::to_string(serial);
        result->references = 1;
        if (result->kind == DrawbotObject::Kind::Image) {
            result->imageSerial = static_cast<int>(serial - 1);
            images_.push_back(*result);
        }
        live_.emplace(result, std::move(made));
    }
    Host::Current().ledger().Take(result->name);
    return result;
}

DrawbotObject* DrawbotObjects::Find(const void* ref, DrawbotObject::Kind kind) {
    DrawbotObject* object = FindAny(ref);
    return object != nullptr && object->kind == kind ? object : nullptr;
}

DrawbotObject* DrawbotObjects::FindAny(const void* ref) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = live_.find(ref);
    return found == live_.end() ? nullptr : found->second.get();
}

bool DrawbotObjects::Retain(const void* ref) {
    std::string name;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto found = live_.find(ref);
        if (found == live_.end()) {
            return false;
        }
        ++found->second->references;
        name = found->second->name;
    }
    Host::Current().ledger().Take(name);
    return true;
}

bool DrawbotObjects::Release(const void* ref) {
    std::string name;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto found = live_.find(ref);
        if (found == live_.end()) {
            return false;
        }
        name = found->second->name;
        if (--found->second->references == 0) {
            live_.erase(found);
        }
    }
    Host::Current().ledger().Give(name);
    return true;
}

void DrawbotObjects::Record(const DrawbotOperation& operation) {
    std::lock_guard<std::mutex> lock(mutex_);
    operations_.push_back(operation);
}

std::vector<DrawbotOperation> DrawbotObjects::Operations() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return operations_;
}

void DrawbotObjects::ForgetRecords() {
    std::lock_guard<std::mutex> lock(mutex_);
    operations_.clear();
    images_.clear();
}

std::vector<DrawbotObject> DrawbotObjects::ImagesMade() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return images_;
}

long DrawbotObjects::Made(DrawbotObject::Kind kind) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = made_.find(kind);
    return found == made_.end() ? 0 : found->second;
}

size_t DrawbotObjects::LiveCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return live_.size();
}

}  // namespace quorvel::host
