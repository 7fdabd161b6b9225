// BuildMesh on a render thread's own context with the host's path suites: the counts it
// returns and the buffers it writes, no mesh, oversized meshes, failed mappings and failing
// path calls, and the mesh layout.

#include <glbinding/gl/gl.h>
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "render/mapped_buffer.h"
#include "render/mask_path_id.h"
#include "render/mesh_builder.h"
#include "render_test_host.h"
#include "shell/params/render_settings.h"
#include "shell/toolkit/errors.h"
#include "tests/gl/gl_test_support.h"
#include "tests/support/module_host.h"

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

bool Mapped(GLuint buffer) {
    GLint mapped = 1;
    glBindBuffer(GL_COPY_READ_BUFFER, buffer);
    glGetBufferParameteriv(GL_COPY_READ_BUFFER, GL_BUFFER_MAPPED, &mapped);
    glBindBuffer(GL_COPY_READ_BUFFER, 0);
    return mapped != 0;
}

template <typename T>
std::vector<T> BufferContents(GLuint buffer, size_t count) {
    std::vector<T> contents(count);
    glBindBuffer(GL_COPY_READ_BUFFER, buffer);
    glGetBufferSubData(GL_COPY_READ_BUFFER, 0, static_cast<GLsizeiptr>(count * sizeof(T)),
                       contents.data());
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

    MeshIndexCounts Build() {
        SuiteHandler suites(test->host.inData.pica_basicP);
        return BuildMesh(MeshBuildFrame(test->host.inData, suites, test->settings, *renderData));
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

TEST_F(MeshBuilderTest, TheDefaultMeshWithAndWithoutStrips) {
    const MeshIndexCounts counts = Build();
    EXPECT_EQ(counts.triangleIndexCount, 14256);
    EXPECT_EQ(counts.lineIndexCount, 48);
    ExpectNothingBound();
    const std::vector<MeshVertex> vertices =
        BufferContents<MeshVertex>(renderData->meshVertexBuffer.Name(), 2500);
    // Row 0 lies on mask 1, row 24 on mask 2; columns run along the masks.
    EXPECT_NEAR(vertices[0].position[0], 0.0f, 1e-3);
    EXPECT_NEAR(vertices[0].position[1], 20.0f, 1e-3);
    EXPECT_NEAR(vertices[99].position[0], 300.0f, 1e-3);
    EXPECT_NEAR(vertices[2499].position[1], 120.0f, 1e-3);
    for (const MeshVertex& vertex : vertices) {
        ASSERT_EQ(vertex.stripIndex, 0.0f);
    }
    const std::vector<uint32_t> triangles =
        BufferContents<uint32_t>(renderData->meshTriangleIndexBuffer.Name(), 14256);
    EXPECT_EQ(triangles[5], 1u);
    EXPECT_EQ(triangles[14255], 2399u);  // v + 1 of the last cell, v = 23 x 100 + 98
    const std::vector<uint32_t> lines =
        BufferContents<uint32_t>(renderData->meshLineIndexBuffer.Name(), 48);
    EXPECT_EQ(lines[1], 100u);
    EXPECT_EQ(lines[47], 2400u);

    test->settings.stripsEnable = 1;
    const MeshIndexCounts striped = Build();
    EXPECT_EQ(striped.triangleIndexCount, 59400);
    EXPECT_EQ(striped.lineIndexCount, 200);
    const std::vector<MeshVertex> stripVertices =
        BufferContents<MeshVertex>(renderData->meshVertexBuffer.Name(), 20000);
    EXPECT_EQ(stripVertices[19999].stripIndex, 99.0f);
    ExpectNothingBound();
}

TEST_F(MeshBuilderTest, AMaskThatNamesNoPathGivesNoMeshWithoutOpenGL) {
    test->settings.mask2PathId = 77;
    gl_test::GLCallCounter counter;
    const MeshIndexCounts counts = Build();
    EXPECT_EQ(counts.triangleIndexCount, 0);
    EXPECT_EQ(counts.lineIndexCount, 0);
    EXPECT_EQ(counter.Total(), 0);
    EXPECT_EQ(renderData->meshVertexBuffer.Name(), 0u);
    test->settings.mask2PathId = test->settings.mask1PathId;
    test->settings.mask1PathId = 0;
    EXPECT_EQ(Build().triangleIndexCount, 0);
    EXPECT_EQ(test->host.Calls("PF_CheckoutPath"), 3);  // the second build did not ask for mask 2
}

TEST_F(MeshBuilderTest, MaskIndicesNameTheirPathParameters) {
    EXPECT_EQ(MaskPathId(test->settings, 0), test->settings.mask1PathId);
    EXPECT_EQ(MaskPathId(test->settings, 1), test->settings.mask2PathId);
    try {
        MaskPathId(test->settings, 2);
        FAIL() << "no exception";
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
        try {
            Build();
            ADD_FAILURE() << strips << ": no exception";
        } catch (const ReportedAsOutOfMemory& e) {
            EXPECT_EQ(e.cause, PF_Err_OUT_OF_MEMORY);
        }
        EXPECT_EQ(counter.Total(), 0);
        EXPECT_EQ(renderData->meshVertexBuffer.Name(), 0u);
    }
    // Counts below their valid minimum are clamped, not trusted.
    test->settings.stripsEnable = 0;
    test->settings.alongBasePoints = -3;
    test->settings.acrossBasePoints = 0;
    const MeshIndexCounts smallest = Build();
    EXPECT_EQ(smallest.triangleIndexCount, 6);
    EXPECT_EQ(smallest.lineIndexCount, 2);
}

TEST_F(MeshBuilderTest, ABufferThatCannotBeMappedGivesNoMeshAndTheNextFrameMapsAgain) {
    ASSERT_GT(Build().triangleIndexCount, 0);
    // A vertex buffer already mapped cannot be mapped again.
    glBindBuffer(GL_ARRAY_BUFFER, renderData->meshVertexBuffer.Name());
    ASSERT_NE(glMapBuffer(GL_ARRAY_BUFFER, GL_WRITE_ONLY), nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    const MeshIndexCounts counts = Build();
    EXPECT_EQ(counts.triangleIndexCount, 0);
    EXPECT_EQ(counts.lineIndexCount, 0);
    ExpectNothingBound();
    // The triangle buffer that was mapped beside it was given back.
    EXPECT_FALSE(Mapped(renderData->meshTriangleIndexBuffer.Name()));
    glBindBuffer(GL_COPY_READ_BUFFER, renderData->meshVertexBuffer.Name());
    glUnmapBuffer(GL_COPY_READ_BUFFER);
    glBindBuffer(GL_COPY_READ_BUFFER, 0);
    while (glGetError() != GL_NO_ERROR) {
    }
    EXPECT_EQ(Build().triangleIndexCount, 14256);
}

TEST_F(MeshBuilderTest, AFailureWhileMappedUnmapsOnTheWayOut) {
    ASSERT_GT(Build().triangleIndexCount, 0);
    glBindVertexArray(renderData->meshVertexArray.Name());
    try {
        MappedBuffer vertices(renderData->meshVertexArray.Name(), GL_ARRAY_BUFFER,
                              renderData->meshVertexBuffer.Name());
        MappedBuffer triangles(renderData->meshVertexArray.Name(), GL_ELEMENT_ARRAY_BUFFER,
                               renderData->meshTriangleIndexBuffer.Name());
        ASSERT_NE(vertices.Data(), nullptr);
        ASSERT_NE(triangles.Data(), nullptr);
        throw Exception(PF_Err_OUT_OF_MEMORY);
    } catch (const Exception&) {
    }
    ExpectNothingBound();
    EXPECT_FALSE(Mapped(renderData->meshVertexBuffer.Name()));
    EXPECT_FALSE(Mapped(renderData->meshTriangleIndexBuffer.Name()));
    EXPECT_EQ(Build().triangleIndexCount, 14256);
}

TEST_F(MeshBuilderTest, EveryFailingPathCallEndsTheBuildWithEverythingGivenBack) {
    const char* functions[] = {"PF_CheckoutPath",         "PF_PathNumSegments",
                               "PF_PathPrepareSegLength", "PF_PathGetSegLength",
                               "PF_PathCleanupSegLength", "PF_PathIsOpen",
                               "PF_PathEvalSegLength",    "PF_CheckinPath"};
    for (const char* function : functions) {
        for (int nth = 1; nth <= 2; ++nth) {
            SCOPED_TRACE(std::string(function) + " call " + std::to_string(nth));
            test->host.host.faults().FailCall(function, nth, 9);
            int raised = 0;
            try {
                Build();
            } catch (const ReportedAsOutOfMemory& e) {
                raised = e.cause;
            }
            EXPECT_EQ(raised, std::string(function) == "PF_CheckinPath" ? 0 : 9);
            // What the host refused to take back stays with it: the module asks once.
            if (std::string(function) == "PF_CheckinPath") {
                EXPECT_TRUE(quorvel::testing::ForgetRefusedItem(test->host.host, "path "));
            } else if (std::string(function) == "PF_PathCleanupSegLength") {
                EXPECT_TRUE(
                    quorvel::testing::ForgetRefusedItem(test->host.host, "length preparation "));
            }
            EXPECT_TRUE(test->host.Balanced()) << test->host.Outstanding();
            ExpectNothingBound();
        }
    }
    // A ramp that cannot be locked: out of memory, nothing left locked.
    test->host.host.faults().NullCall("host_lock_handle", 3);
    EXPECT_THROW(Build(), ReportedAsOutOfMemory);
    EXPECT_TRUE(test->host.Balanced()) << test->host.Outstanding();
}

TEST_F(MeshBuilderTest, TheLayoutPointsEveryAttributeIntoTheVertexRecord) {
    ASSERT_GT(Build().triangleIndexCount, 0);
    const struct {
        GLuint location;
        GLint size;
        GLint offset;
    } expected[] = {{0, 2, 0},  {1, 2, 8},  {2, 2, 16}, {3, 2, 24},
                    {4, 2, 32}, {6, 2, 40}, {7, 2, 48}, {8, 1, 56}};
    for (bool lines : {false, true}) {
        BindMeshLayout(*renderData, lines);
        EXPECT_EQ(Binding(GL_VERTEX_ARRAY_BINDING),
                  static_cast<GLint>(lines ? renderData->meshLineVertexArray.Name()
                                           : renderData->meshVertexArray.Name()));
        EXPECT_EQ(Binding(GL_ELEMENT_ARRAY_BUFFER_BINDING),
                  static_cast<GLint>(lines ? renderData->meshLineIndexBuffer.Name()
                                           : renderData->meshTriangleIndexBuffer.Name()));
        for (const auto& attribute : expected) {
            SCOPED_TRACE(attribute.location);
            const GLenum queries[] = {GL_VERTEX_ATTRIB_ARRAY_ENABLED, GL_VERTEX_ATTRIB_ARRAY_SIZE,
                                      GL_VERTEX_ATTRIB_ARRAY_STRIDE, GL_VERTEX_ATTRIB_ARRAY_TYPE};
            const GLint wanted[] = {1, attribute.size, 60, static_cast<GLint>(GL_FLOAT)};
            for (int q = 0; q < 4; ++q) {
                GLint value = -1;
                glGetVertexAttribiv(attribute.location, queries[q], &value);
                EXPECT_EQ(value, wanted[q]) << q;
            }
            void* pointer = nullptr;
            glGetVertexAttribPointerv(attribute.location, GL_VERTEX_ATTRIB_ARRAY_POINTER, &pointer);
            EXPECT_EQ(reinterpret_cast<uintptr_t>(pointer),
                      static_cast<uintptr_t>(attribute.offset));
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
