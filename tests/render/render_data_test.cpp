// The pieces of a frame on a render thread's own context with the host's suites: BuildMesh's
// counts and buffers, no mesh, oversized meshes, failed mappings, the mesh layout, worlds the
// upload refuses, and the ramp lookup textures. (Failing host calls and the pixels' round trip
// are checked through whole frames.)

#include <glbinding/gl/gl.h>
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "host/pixel_access.h"
#include "ramp/scoped_ramp.h"
#include "render/mask_path_id.h"
#include "render/mesh_builder.h"
#include "render/mesh_drawing.h"
#include "render/pixel_transfer.h"
#include "render_test_host.h"
#include "host/world.h"
#include "shell/params/render_settings.h"
#include "shell/toolkit/errors.h"
#include "tests/gl/gl_test_support.h"
#include "tests/support/module_host.h"

namespace {

using namespace gl;
using quorvel::host::Depth;
using quorvel::host::World;

GLint Binding(GLenum binding) {
    GLint name = 0;
    glGetIntegerv(binding, &name);
    return name;
}

GLint Attribute(GLuint location, GLenum query) {
    GLint value = -1;
    glGetVertexAttribiv(location, query, &value);
    return value;
}

template <typename T>
std::vector<T> BufferContents(GLuint buffer, size_t count) {
    std::vector<T> contents(count);
    glBindBuffer(GL_COPY_READ_BUFFER, buffer);
    glGetBufferSubData(GL_COPY_READ_BUFFER, 0, static_cast<GLsizeiptr>(count * sizeof(T)),
                       contents.data());
    GLint mapped = 1;
    glGetBufferParameteriv(GL_COPY_READ_BUFFER, GL_BUFFER_MAPPED, &mapped);
    EXPECT_EQ(mapped, 0);
    glBindBuffer(GL_COPY_READ_BUFFER, 0);
    return contents;
}

class RenderThread : public gl_test::RenderDataTest {
  protected:
    void SetUp() override {
        RenderDataTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        test = std::make_unique<Fixture>();
        const PF_PathID masks[2] = {test->host.AddMask(Polygon({{0, 20}, {300, 20}}, false)),
                                    test->host.AddMask(Polygon({{0, 120}, {300, 120}}, false))};
        SetMeshSettings(
            test->settings, &test->host.inData, masks,
            {test->even.handle, test->flat.handle, test->flat.handle, test->even.handle});
    }
    void TearDown() override {
        test.reset();
        RenderDataTest::TearDown();
    }

    // The triangle and line index counts of a build, which leaves nothing bound.
    std::pair<int64_t, int64_t> Build() {
        SuiteHandler suites(test->host.inData.pica_basicP);
        const MeshIndexCounts counts =
            BuildMesh(MeshBuildFrame(test->host.inData, suites, test->settings, *renderData));
        ExpectNothingBound();
        return {counts.triangleIndexCount, counts.lineIndexCount};
    }

    void ExpectNothingBound() {
        EXPECT_EQ(Binding(GL_VERTEX_ARRAY_BINDING), 0);
        EXPECT_EQ(Binding(GL_ARRAY_BUFFER_BINDING), 0);
        EXPECT_EQ(Binding(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);
    }

    AESDK_OpenGL::GlTexture Upload(PF_EffectWorld* input) {
        SuiteHandler suites(test->host.inData.pica_basicP);
        FrameContext frame = MeshBuildFrame(test->host.inData, suites, test->settings, *renderData);
        frame.input = input;
        return UploadInputTexture(frame);
    }

    struct Fixture {
        Fixture() {
            utils.get_pixel_data8 = quorvel::host::GetPixelData8;
            utils.get_pixel_data16 = quorvel::host::GetPixelData16;
            host.inData.utils = &utils;
        }
        // Everything taken is given back by the end, the test's own ramps too.
        struct BalancedHost : RenderTestHost {
            ~BalancedHost() { EXPECT_LEDGER_BALANCED(host); }
        } host;
        PF_UtilCallbacks utils{};
        RampHandle even{host.host, RampInterpolation_Sin, {{0.0f, 0.5f}, {1.0f, 0.5f}}};
        RampHandle flat{host.host, RampInterpolation_Line, {{0.0f, 1.0f}, {1.0f, 1.0f}}};
        RenderSettings settings{};
    };
    std::unique_ptr<Fixture> test;
};

using Counts = std::pair<int64_t, int64_t>;

TEST_F(RenderThread, TheDefaultMeshWithAndWithoutStrips) {
    EXPECT_EQ(Build(), Counts(14256, 48));
    const std::vector<MeshVertex> vertices =
        BufferContents<MeshVertex>(renderData->meshVertexBuffer.Name(), 2500);
    // Row 0 lies on mask 1, row 24 on mask 2; columns run along the masks.
    EXPECT_NEAR(vertices[0].position[1], 20.0f, 1e-3);
    EXPECT_NEAR(vertices[99].position[0], 300.0f, 1e-3);
    EXPECT_NEAR(vertices[2499].position[1], 120.0f, 1e-3);
    EXPECT_EQ(vertices[2499].stripIndex, 0.0f);
    // (The indices are checked by their fill and through whole frames.)

    test->settings.stripsEnable = 1;
    EXPECT_EQ(Build(), Counts(59400, 200));
    EXPECT_EQ(
        BufferContents<MeshVertex>(renderData->meshVertexBuffer.Name(), 20000)[19999].stripIndex,
        99.0f);
    // Counts below their valid minimum are clamped, not trusted.
    test->settings.stripsEnable = 0;
    test->settings.alongBasePoints = -3;
    test->settings.acrossBasePoints = 0;
    EXPECT_EQ(Build(), Counts(6, 2));
}

TEST_F(RenderThread, AMaskThatNamesNoPathGivesNoMeshWithoutOpenGL) {
    test->settings.mask2PathId = 77;
    gl_test::GLCallCounter counter;
    EXPECT_EQ(Build(), Counts(0, 0));
    EXPECT_EQ(counter.Total(), counter.Count("glGetIntegerv"));  // only the test's queries
    EXPECT_EQ(renderData->meshVertexBuffer.Name(), 0u);
    test->settings.mask2PathId = test->settings.mask1PathId;
    test->settings.mask1PathId = 0;
    EXPECT_EQ(Build(), Counts(0, 0));
    EXPECT_EQ(test->host.Calls("PF_CheckoutPath"), 3);  // the second build did not ask for mask 2
    // A mask index beyond the two path parameters is the module's own fault.
    try {
        MaskPathId(test->settings, 2);
        ADD_FAILURE() << "no exception";
    } catch (const ReportedAsOutOfMemory& e) {
        EXPECT_EQ(e.cause, PF_Err_INTERNAL_STRUCT_DAMAGED);
        EXPECT_STREQ(e.what(), "Unsupported param index");
    }
}

TEST_F(RenderThread, MeshesBeyondTheBudgetEndWithOutOfMemoryBeforeMapping) {
    // The most strips of all (the base points clamped to 1000).
    test->settings.stripsEnable = 1;
    test->settings.stripsCount = 2147483647;
    test->settings.alongBasePoints = 2147483647;
    gl_test::GLCallCounter counter;
    int cause = 0;
    try {
        Build();
    } catch (const ReportedAsOutOfMemory& e) {
        cause = e.cause;
    }
    EXPECT_EQ(cause, PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(counter.Total(), 0);
    EXPECT_EQ(renderData->meshVertexBuffer.Name(), 0u);
}

TEST_F(RenderThread, ABufferThatCannotBeMappedGivesNoMeshAndTheNextFrameMapsAgain) {
    ASSERT_GT(Build().first, 0);
    // A vertex buffer already mapped cannot be mapped again; the triangle buffer mapped beside
    // it is given back (BufferContents checks).
    glBindBuffer(GL_ARRAY_BUFFER, renderData->meshVertexBuffer.Name());
    ASSERT_NE(glMapBuffer(GL_ARRAY_BUFFER, GL_WRITE_ONLY), nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    EXPECT_EQ(Build(), Counts(0, 0));
    BufferContents<uint32_t>(renderData->meshTriangleIndexBuffer.Name(), 1);
    glBindBuffer(GL_COPY_READ_BUFFER, renderData->meshVertexBuffer.Name());
    glUnmapBuffer(GL_COPY_READ_BUFFER);
    glBindBuffer(GL_COPY_READ_BUFFER, 0);
    while (glGetError() != GL_NO_ERROR) {
    }
    EXPECT_EQ(Build(), Counts(14256, 48));
}

TEST_F(RenderThread, TheLayoutPointsEveryAttributeIntoTheVertexRecord) {
    ASSERT_GT(Build().first, 0);
    // Location, components and offset in the 60-byte record; location 5 stays off.
    const GLint expected[][3] = {{0, 2, 0},  {1, 2, 8},  {2, 2, 16}, {3, 2, 24},
                                 {4, 2, 32}, {6, 2, 40}, {7, 2, 48}, {8, 1, 56}};
    for (bool lines : {false, true}) {
        BindMeshLayout(*renderData, lines);
        EXPECT_EQ(Binding(GL_VERTEX_ARRAY_BINDING),
                  static_cast<GLint>(lines ? renderData->meshLineVertexArray.Name()
                                           : renderData->meshVertexArray.Name()));
        EXPECT_EQ(Binding(GL_ELEMENT_ARRAY_BUFFER_BINDING),
                  static_cast<GLint>(lines ? renderData->meshLineIndexBuffer.Name()
                                           : renderData->meshTriangleIndexBuffer.Name()));
        for (const auto& [location, size, offset] : expected) {
            EXPECT_EQ(Attribute(location, GL_VERTEX_ATTRIB_ARRAY_ENABLED), 1) << location;
            EXPECT_EQ(Attribute(location, GL_VERTEX_ATTRIB_ARRAY_SIZE), size) << location;
            EXPECT_EQ(Attribute(location, GL_VERTEX_ATTRIB_ARRAY_STRIDE), 60) << location;
            EXPECT_EQ(Attribute(location, GL_VERTEX_ATTRIB_ARRAY_TYPE), GLint(GL_FLOAT))
                << location;
            void* pointer = nullptr;
            glGetVertexAttribPointerv(location, GL_VERTEX_ATTRIB_ARRAY_POINTER, &pointer);
            EXPECT_EQ(reinterpret_cast<uintptr_t>(pointer), static_cast<uintptr_t>(offset));
        }
        EXPECT_EQ(Attribute(5, GL_VERTEX_ATTRIB_ARRAY_ENABLED), 0);
        UnbindMeshLayout();
        ExpectNothingBound();
    }
    // Unbinding left the triangle array without its element buffer and every attribute off.
    glBindVertexArray(renderData->meshVertexArray.Name());
    EXPECT_EQ(Binding(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);
    EXPECT_EQ(Attribute(0, GL_VERTEX_ATTRIB_ARRAY_ENABLED), 0);
    glBindVertexArray(0);
}

TEST_F(RenderThread, BadWorldsEndTheUploadWithTheHostsCode) {
    // (Worlds that upload are checked through whole frames.) A padded world's row length is
    // not left to the next upload.
    World padded(Depth::Bits8, 4, 4, 16);
    EXPECT_NE(Upload(padded.Effect()).Name(), 0u);
    EXPECT_EQ(Binding(GL_UNPACK_ROW_LENGTH), 0);
    // A float world without the pixel data suite: out of memory for the frame.
    World floats(Depth::Float, 4, 4);
    test->host.host.faults().FailCall("AcquireSuite", 1, 1);
    EXPECT_THROW(Upload(floats.Effect()), ReportedAsOutOfMemory);
    // A world the host does not know: its 8-bit probe gives nothing, so it is read as float,
    // and the float callback's code ends the upload.
    World known(Depth::Bits8, 4, 4);
    PF_EffectWorld stranger = *known.Effect();
    int code = 0;
    try {
        Upload(&stranger);
    } catch (const HostCode& failure) {
        code = failure.code;
    }
    EXPECT_EQ(code, PF_Err_BAD_CALLBACK_PARAM);
    // Rows shorter than the width.
    known.Effect()->rowbytes = 8;
    EXPECT_THROW(Upload(known.Effect()), HostCode);
    EXPECT_EQ(glIsTexture(1), GL_FALSE);
}

// Texel i is the ramp at i / 2047 in single precision (texel 1023 is not the ramp at 0.5);
// only Loop 1 repeats, any other value clamps.
TEST_F(RenderThread, RampLookupTexturesHoldTheRampAndWrapByLoop) {
    const ScopedRamp ramp(RampMode_All, RampInterpolation_Bezier,
                          {{0.0f, 0.2f}, {0.3f, 0.9f}, {1.0f, 0.1f}});
    for (int loop : {0, 1, 2}) {
        const AESDK_OpenGL::GlTexture texture = MakeRampTexture(*ramp, loop);
        EXPECT_EQ(Binding(GL_TEXTURE_BINDING_2D), 0);
        glBindTexture(GL_TEXTURE_2D, texture.Name());
        const GLint wrap = static_cast<GLint>(loop == 1 ? GL_REPEAT : GL_CLAMP_TO_EDGE);
        const std::pair<GLenum, GLint> parameters[] = {
            {GL_TEXTURE_WRAP_S, wrap},
            {GL_TEXTURE_WRAP_T, wrap},
            {GL_TEXTURE_MIN_FILTER, static_cast<GLint>(GL_LINEAR)}};
        for (const auto& [parameter, value] : parameters) {
            GLint actual = 0;
            glGetTexParameteriv(GL_TEXTURE_2D, parameter, &actual);
            EXPECT_EQ(actual, value) << loop;
        }
        GLint width = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        ASSERT_EQ(width, kRampTextureSize);
        std::vector<float> texels(kRampTextureSize);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RED, GL_FLOAT, texels.data());
        for (int i = 0; i < kRampTextureSize; i += 89) {
            ASSERT_EQ(texels[i], ramp->Evaluate(static_cast<float>(i) / 2047.0f)) << i;
        }
        EXPECT_NE(texels[1023], ramp->Evaluate(0.5f));
        EXPECT_EQ(texels[0], 0.2f);
        EXPECT_EQ(texels[2047], 0.1f);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
}

}  // namespace
