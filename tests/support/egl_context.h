#pragma once

// A surfaceless OpenGL 3.3 core context of Mesa through EGL (on Windows: WGL on a hidden
// window, egl_context_wgl.cpp), current on the constructing thread, for tests that need
// OpenGL without the module's own context layer. Valid() is false where no context can be
// made; such tests skip.
class EglTestContext {
  public:
    EglTestContext();
    ~EglTestContext();
    EglTestContext(const EglTestContext&) = delete;
    EglTestContext& operator=(const EglTestContext&) = delete;

    bool Valid() const { return context_ != nullptr; }
    void MakeCurrent();

  private:
    void* display_ = nullptr;
    void* context_ = nullptr;
};

// The calling thread's current context as the system's OpenGL knows it in every module of the
// process (EGL's; WGL's on Windows): what the module must leave as it found it.
const void* CurrentSystemContext();
