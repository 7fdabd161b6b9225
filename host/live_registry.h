#pragma once

#include <mutex>
#include <set>

namespace quorvel::host {

// The objects of one kind that are alive in the process, so that a pointer the module passes
// back is followed only when it names one of them. Objects add themselves when made and
// remove themselves when destroyed. Safe to use from several threads.
template <typename T>
class LiveRegistry {
  public:
    static void Add(T* object) {
        std::lock_guard<std::mutex> lock(Mutex());
        Objects().insert(object);
    }

    static void Remove(T* object) {
        std::lock_guard<std::mutex> lock(Mutex());
        Objects().erase(object);
    }

    // The first live object for which match is true; null when there is none.
    template <typename Match>
    static T* Find(Match match) {
        std::lock_guard<std::mutex> lock(Mutex());
        for (T* object : Objects()) {
            if (match(*object)) {
                return object;
            }
        }
        return nullptr;
    }

  private:
    static std::mutex& Mutex() {
        static std::mutex mutex;
        return mutex;
    }
    static std::set<T*>& Objects() {
        static std::set<T*> objects;
        return objects;
    }
};

}  // namespace quorvel::host
