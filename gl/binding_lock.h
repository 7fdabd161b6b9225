#pragma once

namespace AESDK_OpenGL {

// glbinding keeps, for every OpenGL function, one state per context that it was initialised
// for, in vectors that the initialisation of a new context grows; every OpenGL call reads the
// calling thread's state without a lock. Under WGL each context is a handle of its own, so a
// render thread that starts its context would grow those vectors under threads that draw.
// Hence a stretch of OpenGL calls holds a BindingUseScope (any number of threads at once), and
// whatever may add a context to glbinding holds a BindingChangeScope (one thread, while no
// stretch of OpenGL calls runs). A waiting change goes before new uses, so that a thread that
// starts its context is not held off for long by threads that keep drawing.
//
// Scopes nest on one thread: a use inside a use or a change, a change inside a change. A
// change inside a use cannot be granted (the use would wait for itself) and throws
// std::logic_error.

// What the two scopes share: the thread's nesting count of each kind, and the lock taken by
// the outermost scope of a thread.
class BindingScope {
  protected:
    enum class Kind { Use, Change };
    explicit BindingScope(Kind kind);
    ~BindingScope();
    BindingScope(const BindingScope&) = delete;
    BindingScope& operator=(const BindingScope&) = delete;

  private:
    Kind kind_;
    bool nested_;
};

class BindingUseScope : BindingScope {
  public:
    BindingUseScope() : BindingScope(Kind::Use) {}
};

class BindingChangeScope : BindingScope {
  public:
    BindingChangeScope() : BindingScope(Kind::Change) {}
};

// glbinding::Binding::useCurrentContext for the calling thread's current context. A context
// that glbinding has not met yet is initialised by that call, so it is then made inside a
// BindingChangeScope; a known one only selects its state, which any thread may do at any time.
void UseCurrentContext();

}  // namespace AESDK_OpenGL
