#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <GL/gl.h>

#include "app/PartRenderState.h"
#include "app/Shell.h"
#include "app/Timeline.h"
#include "fx/PixelScale.h"
#include "platform/Platform.h"
#include "tests/TestPlatform.h"

namespace {

PlatformEvent eventOf(PlatformEvent::Type type, int key = 0)
{
    PlatformEvent event;
    event.type = type;
    event.key = key;
    event.code = kPartSwitchCode;
    return event;
}

::testing::Matcher<const std::string&> notRestored()
{
    return ::testing::Not(::testing::HasSubstr("display mode restored"));
}

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testPlatform();
        ::testing::FLAGS_gtest_death_test_style = "threadsafe";
        fullScreen = 0;
        partNumber = 1;
    }
};

TEST_F(ShellTest, EscapeEndsWithStatusOneAndRestoresTheDisplayInFullScreen)
{
    EXPECT_EXIT(mainWindowProc(eventOf(PlatformEvent::Type::KeyDown, kKeyEscape)), ::testing::ExitedWithCode(1),
                notRestored());
    fullScreen = 1;
    EXPECT_EXIT(mainWindowProc(eventOf(PlatformEvent::Type::KeyDown, kKeyEscape)), ::testing::ExitedWithCode(1),
                "display mode restored");
}

TEST_F(ShellTest, ClosingTheWindowEndsWithStatusOne)
{
    fullScreen = 1;
    // This way out does not restore the display itself.
    EXPECT_EXIT(mainWindowProc(eventOf(PlatformEvent::Type::Destroy)), ::testing::ExitedWithCode(1), notRestored());
}

TEST_F(ShellTest, OtherKeysAreSwallowed)
{
    mainWindowProc(eventOf(PlatformEvent::Type::KeyDown, 'a'));
    mainWindowProc(eventOf(PlatformEvent::Type::Other));
    EXPECT_EQ(partNumber, 1);
}

TEST_F(ShellTest, PartSwitchMovesOnUntilTheEleventhPartEnds)
{
    partNumber = 10;
    partStartTicks = 0;
    TestPlatform& system = testPlatform();
    system.swapBuffers(nullptr);   // the clock moves on, so the new start is visible
    glViewport(0, 0, 320, 200);
    mainWindowProc(eventOf(PlatformEvent::Type::User));
    EXPECT_EQ(partNumber, 11);
    EXPECT_EQ(partStartTicks, system.tickCount());
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);   // the new part's state sets the viewport back
    EXPECT_EXIT(mainWindowProc(eventOf(PlatformEvent::Type::User)), ::testing::ExitedWithCode(1), notRestored());
}

TEST_F(ShellTest, ResizeSetsTheViewportToTheReportedSize)
{
    PlatformEvent size = eventOf(PlatformEvent::Type::Size);
    size.width = 500;
    size.height = 300;
    mainWindowProc(size);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 500);
    EXPECT_EQ(viewport[3], 300);
    EXPECT_EQ(pixelScale(), 1.0f);   // a window's size: the picture stays as it was
}

TEST_F(ShellTest, ANewPictureSizeScalesWhatIsDrawnInPixels)
{
    PlatformEvent size = eventOf(PlatformEvent::Type::Size);
    size.width = 1280;
    size.height = 960;
    size.resized = true;
    mainWindowProc(size);
    const float scale = pixelScale();
    applyPartRenderState(partNumber);   // a part starting now sets the viewport anew
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    setPictureSize(kPictureWidth, kPictureHeight);
    EXPECT_EQ(scale, 2.0f);
    EXPECT_EQ(viewport[2], 1280);
    EXPECT_EQ(viewport[3], 960);
}

}  // namespace
