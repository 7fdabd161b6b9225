#include <glbinding/Binding.h>
#include <glbinding/ContextInfo.h>
#include <glbinding/Meta.h>
#include <glbinding/Version.h>

#include <iostream>

#include "gl/binding_lock.h"
#include "gl/hidden_context.h"

namespace AESDK_OpenGL {

void InitBindingAndLogInfo() {
    // Initialising grows glbinding's state of every function, which threads that draw read:
    // none does meanwhile. Functions are resolved on first use. A context handle that glbinding
    // already knows is not made this thread's by initialize, so the thread selects it
    // explicitly.
    const BindingChangeScope change;
    glbinding::Binding::initialize(false);
    UseCurrentContext();

    std::cout << std::endl;
    std::cout << "OpenGL Version:  " << glbinding::ContextInfo::version().toString() << std::endl;
    std::cout << "OpenGL Vendor:   " << glbinding::ContextInfo::vendor() << std::endl;
    std::cout << "OpenGL Renderer: " << glbinding::ContextInfo::renderer() << std::endl;
    std::cout << "OpenGL Revision: " << glbinding::Meta::glRevision() << " (gl.xml)" << std::endl;
    std::cout << std::endl;
}

}  // namespace AESDK_OpenGL
