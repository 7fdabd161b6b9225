#include "gl/binding_lock.h"

#include <glbinding/Binding.h>
#include <glbinding/ContextHandle.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <vector>

namespace AESDK_OpenGL {
namespace {

struct BindingLock {
    std::mutex mutex;
    std::condition_variable released;
    int users = 0;
    int waitingChanges = 0;
    bool changing = false;
    // The contexts this layer had glbinding initialise. glbinding forgets none of them (the
    // layer never releases a context there), so selecting one of them grows nothing.
    std::vector<glbinding::ContextHandle> knownContexts;
};

// Never destroyed: render data still registered when the module is unloaded are destroyed
// with the process-wide objects, in an order no translation unit controls, and take it then.
BindingLock& TheLock() {
    static BindingLock* const lock = new BindingLock;
    return *lock;
}

thread_local int t_uses = 0;
thread_local int t_changes = 0;

bool IsKnown(glbinding::ContextHandle context) {
    BindingLock& lock = TheLock();
    const std::lock_guard<std::mutex> guard(lock.mutex);
    return std::find(lock.knownContexts.begin(), lock.knownContexts.end(), context) !=
           lock.knownContexts.end();
}

void Remember(glbinding::ContextHandle context) {
    BindingLock& lock = TheLock();
    const std::lock_guard<std::mutex> guard(lock.mutex);
    if (std::find(lock.knownContexts.begin(), lock.knownContexts.end(), context) ==
        lock.knownContexts.end()) {
        lock.knownContexts.push_back(context);
    }
}

}  // namespace

BindingUseScope::BindingUseScope() : nested_(t_uses > 0 || t_changes > 0) {
    if (!nested_) {
        BindingLock& lock = TheLock();
        std::unique_lock<std::mutex> guard(lock.mutex);
        lock.released.wait(guard, [&lock] { return !lock.changing && lock.waitingChanges == 0; });
        ++lock.users;
    }
    ++t_uses;
}

BindingUseScope::~BindingUseScope() {
    --t_uses;
    if (nested_) {
        return;
    }
    BindingLock& lock = TheLock();
    const std::lock_guard<std::mutex> guard(lock.mutex);
    if (--lock.users == 0 && lock.waitingChanges > 0) {
        lock.released.notify_all();
    }
}

BindingChangeScope::BindingChangeScope() : nested_(t_changes > 0) {
    if (!nested_) {
        if (t_uses > 0) {
            throw std::logic_error("glbinding's contexts cannot change during OpenGL calls");
        }
        BindingLock& lock = TheLock();
        std::unique_lock<std::mutex> guard(lock.mutex);
        ++lock.waitingChanges;
        lock.released.wait(guard, [&lock] { return !lock.changing && lock.users == 0; });
        --lock.waitingChanges;
        lock.changing = true;
    }
    ++t_changes;
}

BindingChangeScope::~BindingChangeScope() {
    --t_changes;
    if (nested_) {
        return;
    }
    BindingLock& lock = TheLock();
    const std::lock_guard<std::mutex> guard(lock.mutex);
    lock.changing = false;
    lock.released.notify_all();
}

void UseCurrentContext() {
    const glbinding::ContextHandle context = glbinding::getCurrentContext();
    if (t_changes == 0 && IsKnown(context)) {
        glbinding::Binding::useCurrentContext();
        return;
    }
    const BindingChangeScope change;
    glbinding::Binding::useCurrentContext();
    Remember(context);
}

}  // namespace AESDK_OpenGL
