#include "host/aegp_objects.h"

#include "host/host.h"

namespace quorvel::host {

namespace {

const char* KindName(AegpObject::Kind kind) {
    switch (kind) {
        case AegpObject::Kind::Effect:
            return "effect";
        case AegpObject::Kind::Mask:
            return "mask";
        case AegpObject::Kind::Stream:
            return "stream";
        case AegpObject::Kind::StreamValue:
            return "stream value";
        case AegpObject::Kind::Memory:
            return "memory";
    }
    return "handle";
}

}  // namespace

AegpObject* AegpObjects::Make(AegpObject object) {
    auto made = std::make_unique<AegpObject>(std::move(object));
    AegpObject* result = made.get();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        result->name = std::string("AEGP ") + KindName(result->kind) + " #" +
                       std::to_string(++made_[result->kind]);
        live_.emplace(result, std::move(made));
    }
    Host::Current().ledger().Take(result->name);
    return result;
}

AegpObject* AegpObjects::Find(const void* handle, AegpObject::Kind kind) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = live_.find(handle);
    return found != live_.end() && found->second->kind == kind ? found->second.get() : nullptr;
}

AegpObject* AegpObjects::FindOutline(const void* outline) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& [handle, object] : live_) {
        if (object->kind == AegpObject::Kind::StreamValue && &object->outline == outline) {
            return object.get();
        }
    }
    return nullptr;
}

bool AegpObjects::Dispose(const void* handle, AegpObject::Kind kind) {
    std::string name;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto found = live_.find(handle);
        if (found == live_.end() || found->second->kind != kind) {
            return false;
        }
        name = found->second->name;
        live_.erase(found);
    }
    Host::Current().ledger().Give(name);
    return true;
}

void AegpObjects::Request(const AegpValueRequest& request) {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(request);
}

std::vector<AegpValueRequest> AegpObjects::Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

size_t AegpObjects::LiveCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return live_.size();
}

}  // namespace quorvel::host
