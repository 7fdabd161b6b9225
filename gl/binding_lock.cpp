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

BindingScope::BindingScope(Kind kind)
    : kind_(kind), nested_(t_changes > 0 || (kind == Kind::Use && t_uses > 0)) {
    if (!nested_) {
        if (kind == Kind::Change && t_uses > 0) {
            throw std::logic_error("glbinding's contexts cannot change during OpenGL calls");
        }
        BindingLock& lock = TheLock();
        std::unique_lock<std::mutex> guard(lock.mutex);
        if (kind == Kind::Use) {
            lock.released.wait(guard,
                               [&lock] { return !lock.changing && lock.waitingChanges == 0; });
            ++lock.users;
        } else {
            ++lock.waitingChanges;
            lock.released.wait(guard, [&lock] { return !lock.changing && lock.users == 0; });
            --lock.waitingChanges;
            lock.changing = true;
        }
    }
    ++(kind == Kind::Use ? t_uses : t_changes);
}

BindingScope::~BindingScope() {
    --(kind_ == Kind::Use ? t_uses : t_changes);
    if (nested_) {
        return;
    }
    BindingLock& lock = TheLock();
    const std::lock_guard<std::mutex> guard(lock.mutex);
    if (kind_ == Kind::Change) {
        lock.changing = false;
        lock.released.notify_all();
    } else if (--lock.users == 0 && lock.waitingChanges > 0) {
        lock.released.notify_all();
    }
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
