// BuildMesh on a render thread's own context with the host's path suites: the counts it
// returns and the buffers it writes, no mesh, oversized meshes, failed mappings, and the mesh
// layout. (Failing path calls are swept through whole frames.)

#include <glbinding/gl/gl.h>
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "render/mask_path_id.h"
#include "render/mesh_builder.h"
#include "render_test_host.h"
#include "shell/params/render_settings.h"
#include "shell/toolkit/errors.h"
#include "tests/gl/gl_test_support.h"

namespace {

using namespace gl;
using quorvel::host::MaskShape;
using quorvel::host::MaskVertex;

MaskShape Line(double y) {
    MaskShape shape;
    shape.closed = false;
    shape.vertices = {MaskVertex{{0, y}, {0, 0}, {0, 0}}, MaskVertex{{300, y}, {0, 0}, {0, 0}}};
    return shape;
}

GLint Binding(GLenum binding) {
    GLint name = 0;
    glGetIntegerv(binding, &name);
    return name;
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

class MeshBuilderTest : public gl_test::RenderDataTest {
  protected:
    void SetUp() override {
        RenderDataTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        test = std::make_unique<Fixture>();
        const PF_PathID masks[2] = {test->host.AddMask(Line(20)), test->host.AddMask(Line(120))};
        SetMeshSettings(
            test->settings, &test->host.inData, masks,
            {test->even.handle, test->flat.handle, test->flat.handle, test->even.handle});
    }
    void TearDown() override {
        if (test != nullptr) {
            EXPECT_TRUE(test->host.Balanced()) << test->host.Outstanding();
            test.reset();
        }
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

    struct Fixture {
        RenderTestHost host;
        RampHandle even{host.host, RampInterpolation_Sin, {{0.0f, 0.5f}, {1.0f, 0.5f}}};
        RampHandle flat{host.host, RampInterpolation_Line, {{0.0f, 1.0f}, {1.0f, 1.0f}}};
        RenderSettings settings{};
    };
    std::unique_ptr<Fixture> test;
};

using Counts = std::pair<int64_t, int64_t>;

TEST_F(MeshBuilderTest, TheDefaultMeshWithAndWithoutStrips) {
    EXPECT_EQ(Build(), Counts(14256, 48));
    const std::vector<MeshVertex> vertices =
        BufferContents<MeshVertex>(renderData->meshVertexBuffer.Name(), 2500);
    // Row 0 lies on mask 1, row 24 on mask 2; columns run along the masks.
    EXPECT_NEAR(vertices[0].position[1], 20.0f, 1e-3);
    EXPECT_NEAR(vertices[99].position[0], 300.0f, 1e-3);
    EXPECT_NEAR(vertices[2499].position[1], 120.0f, 1e-3);
    EXPECT_EQ(vertices[2499].stripIndex, 0.0f);
    const std::vector<uint32_t> triangles =
        BufferContents<uint32_t>(renderData->meshTriangleIndexBuffer.Name(), 14256);
    EXPECT_EQ(triangles[5], 1u);
    EXPECT_EQ(triangles[14255], 2399u);  // v + 1 of the last cell, v = 23 x 100 + 98
    const std::vector<uint32_t> lines =
        BufferContents<uint32_t>(renderData->meshLineIndexBuffer.Name(), 48);
    EXPECT_EQ(lines[1], 100u);
    EXPECT_EQ(lines[47], 2400u);

    test->settings.stripsEnable = 1;
    EXPECT_EQ(Build(), Counts(59400, 200));
    EXPECT_EQ(BufferContents<MeshVertex>(renderData->meshVertexBuffer.Name(), 20000)[19999]
                  .stripIndex,
              99.0f);
    // Counts below their valid minimum are clamped, not trusted.
    test->settings.stripsEnable = 0;
    test->settings.alongBasePoints = -3;
    test->settings.acrossBasePoints = 0;
    EXPECT_EQ(Build(), Counts(6, 2));
}

TEST_F(MeshBuilderTest, AMaskThatNamesNoPathGivesNoMeshWithoutOpenGL) {
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

TEST_F(MeshBuilderTest, MeshesBeyondTheBudgetEndWithOutOfMemoryBeforeMapping) {
    test->settings.stripsEnable = 1;
    // The most strips of all (the base points clamped to 1000), and the most whose buffers
    // would still have fitted 32-bit sizes: 4473924 strips of 2 x 2 vertices, 268 MB.
    const std::pair<int32_t, int32_t> stripsAndBasePoints[] = {{2147483647, 2147483647},
                                                               {4473924, 2}};
    for (const auto& [strips, basePoints] : stripsAndBasePoints) {
        test->settings.stripsCount = strips;
        test->settings.alongBasePoints = basePoints;
        gl_test::GLCallCounter counter;
        int cause = 0;
        try {
            Build();
        } catch (const ReportedAsOutOfMemory& e) {
            cause = e.cause;
        }
        EXPECT_EQ(cause, PF_Err_OUT_OF_MEMORY) << strips;
        EXPECT_EQ(counter.Total(), 0);
        EXPECT_EQ(renderData->meshVertexBuffer.Name(), 0u);
    }
}

TEST_F(MeshBuilderTest, ABufferThatCannotBeMappedGivesNoMeshAndTheNextFrameMapsAgain) {
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

TEST_F(MeshBuilderTest, TheLayoutPointsEveryAttributeIntoTheVertexRecord) {
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
            const GLenum queries[] = {GL_VERTEX_ATTRIB_ARRAY_ENABLED, GL_VERTEX_ATTRIB_ARRAY_SIZE,
                                      GL_VERTEX_ATTRIB_ARRAY_STRIDE, GL_VERTEX_ATTRIB_ARRAY_TYPE};
            const GLint wanted[] = {1, size, 60, static_cast<GLint>(GL_FLOAT)};
            for (int q = 0; q < 4; ++q) {
                GLint value = -1;
                glGetVertexAttribiv(location, queries[q], &value);
                EXPECT_EQ(value, wanted[q]) << location << " query " << q;
            }
            void* pointer = nullptr;
            glGetVertexAttribPointerv(location, GL_VERTEX_ATTRIB_ARRAY_POINTER, &pointer);
            EXPECT_EQ(reinterpret_cast<uintptr_t>(pointer), static_cast<uintptr_t>(offset));
        }
        GLint uvsEnabled = 1;
        glGetVertexAttribiv(5, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &uvsEnabled);
        EXPECT_EQ(uvsEnabled, 0);
        UnbindMeshLayout();
        ExpectNothingBound();
    }
    // Unbinding left the triangle array without its element buffer and every attribute off.
    glBindVertexArray(renderData->meshVertexArray.Name());
    EXPECT_EQ(Binding(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);
    GLint enabled = 1;
    glGetVertexAttribiv(0, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    EXPECT_EQ(enabled, 0);
    glBindVertexArray(0);
}

}  // namespace
