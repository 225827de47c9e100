// The entry point of the program in a web page.  The page fetched the data
// file and made the instance with its canvas, its callbacks and the
// viewer's answer to the full-screen question as arguments:
//   --windowed | --fullscreen [--resolution WxH] [--no-warm-up]   the demo
//   --frames LIST        the test mode: those frames to the page, then exit 0
//   --benchmark          the frame-time table through print, then exit 0
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/FrameSink.h"
#include "app/HeadlessDemo.h"
#include "app/Shell.h"
#include "app/StartupTimes.h"
#include "assets/ResourcePack.h"
#include "assets/Resources.h"
#include "platform/AudioBackend.h"
#include "platform/Mp3Stream.h"
#include "platform/web/Page.h"
#include "platform/web/WebAudio.h"
#include "platform/web/WebPlatform.h"
#include "platform/web/YieldingHeadlessPlatform.h"

namespace {

// The test mode's frames handed to the page, each as RGBA rows top first,
// opaque as the captured PNG frames are (blending leaves the picture's own
// alpha below 1 in places; it is never shown).
class PageFrames : public FrameSink {
public:
    bool open(std::string&) override { return true; }
    bool write(const FramePixels& pixels, std::string&) override
    {
        const std::size_t row = static_cast<std::size_t>(pixels.width) * 4;
        topFirst_.resize(row * static_cast<std::size_t>(pixels.height));
        for (int y = 0; y < pixels.height; ++y)
            std::memcpy(topFirst_.data() + row * static_cast<std::size_t>(y),
                        pixels.rgba + row * static_cast<std::size_t>(pixels.height - 1 - y), row);
        for (std::size_t alpha = 3; alpha < topFirst_.size(); alpha += 4)
            topFirst_[alpha] = 255;
        page::frame(pixels.frame, pixels.width, pixels.height, topFirst_.data());
        return true;
    }
    bool finish(std::string&) override { return true; }

private:
    std::vector<std::uint8_t> topFirst_;
};

// The data file's bytes and the table over them, alive for the whole run.
std::vector<unsigned char> dataFile;
ResourcePack pack;
std::vector<ResourceEntry> table;

void useResourcePack()
{
    table.clear();
    for (const PackedResource& entry : pack.entries)
        table.push_back({entry.type.c_str(), entry.name.c_str(), entry.data, entry.size});
    useResourceTable(table.data(), table.size());
}

// The page's data file becomes the resource table; a missing or damaged
// one ends the run with a message on the page, never a blank canvas.
void takeResourcesFromThePage()
{
    dataFile = page::resourceBytes();
    pack = dataFile.empty() ? ResourcePack{{}, "no data file was given"}
                            : readResourcePack(dataFile.data(), dataFile.size());
    std::size_t expectedCount = 0;
    const ResourceEntry* expected = compiledInResources(expectedCount);
    const std::vector<std::string> missing = missingFromPack(pack, expected, expectedCount);
    // A data file of another build (a cache that kept an old one) may be
    // whole and still lack what this one needs.
    if (pack.error.empty() && !missing.empty())
        pack.error = "the data file lacks " + missing.front() + (missing.size() > 1 ? " and more" : "") +
                     " (it belongs to another build of the demo)";
    if (!pack.error.empty()) {
        const std::string text = "The demo cannot start: " + pack.error + ".";
        std::fprintf(stderr, "quittenhain: %s\n", text.c_str());
        page::showMessage(text.c_str(), "Error");
        std::exit(1);
    }
    useResourcePack();
}

// The page's short forms: --frames alone means frames handed to the page.
std::vector<std::string> commandLineOf(int argc, char** argv)
{
    std::vector<std::string> words(argv, argv + argc);
    for (std::size_t i = 1; i < words.size(); ++i) {
        if (words[i] == "--frames") {
            words.insert(words.begin() + static_cast<std::ptrdiff_t>(i), {"--capture", "page"});
            break;
        }
    }
    return words;
}

WebPlatform* pagePlatform = nullptr;
WebAudio pageMusic;
HeadlessPlatform* pageHeadless = nullptr;

[[noreturn]] void runInPageHeadless(const CommandLine& command)
{
    static YieldingHeadlessPlatform headless(command.fps, {command.resolution.width, command.resolution.height});
    pageHeadless = &headless;
    std::unique_ptr<FrameSink> sink;
    if (command.mode == CommandLine::Mode::CaptureFrames)
        sink = std::make_unique<PageFrames>();
    runHeadlessDemo(command, headless, std::move(sink), page::partStarted);
}

[[noreturn]] void runInPage(const CommandLine& command)
{
    const bool fixed = command.resolution.width != kPictureWidth || command.resolution.height != kPictureHeight;
    const PictureSize asked{command.resolution.width, command.resolution.height};
    static WebPlatform web(fixed ? &asked : nullptr);
    pagePlatform = &web;
    setPlatform(&web);
    setAudio(&pageMusic);
    ShellOptions shell;
    shell.fullScreenChoice = command.fullScreen == FullScreenChoice::FullScreen ? FullScreenChoice::FullScreen
                                                                                : FullScreenChoice::Windowed;
    shell.warmUp = command.warmUp;
    shell.onPartStart = [](int part) {
        if (part == 1)
            std::fprintf(stderr, "start-up, ms: %s\n", describeStartupTimes(theStartupTimes).c_str());
        const std::uint32_t position = pageMusic.channelGetPosition(pageMusic.stream());
        page::partStarted(part, position == kPositionUnknown ? 0.0 : position / double(kPcmBytesPerSecond));
    };
    // Every way out stops the sound first.
    shell.onEnd = [] { audio().stop(); };
    runDemo(shell);
}

}  // namespace

// Ends the demo as Escape does.
extern "C" void qhEnd()
{
    if (pagePlatform != nullptr) {
        pagePlatform->requestEnd();
    } else if (pageHeadless != nullptr) {
        pageHeadless->requestEnd();
    }
}

// Decodes the music of a data file as the demo plays it: returns the sample
// frames (negative when the file or the music cannot be read) and leaves the
// 16-bit stereo PCM at *pcm, valid until the next call.
extern "C" double qhDecodeMusic(const unsigned char* bytes, int size, const unsigned char** pcm)
{
    static std::vector<unsigned char> decoded;
    const ResourcePack music = readResourcePack(bytes, size < 0 ? 0 : static_cast<std::size_t>(size));
    const PackedResource* mp3 = nullptr;
    for (const PackedResource& entry : music.entries)
        if (entry.name == "ZYT_MUCKE_MP3")
            mp3 = &entry;
    Mp3Stream stream;
    if (mp3 == nullptr || !stream.open(mp3->data, mp3->size))
        return -1;
    decoded.resize(static_cast<std::size_t>(stream.lengthBytes()));
    const std::size_t got = stream.read(decoded.data(), decoded.size());
    decoded.resize(got);
    *pcm = decoded.data();
    return static_cast<double>(got / 4);
}

int main(int argc, char** argv)
{
    const std::vector<std::string> words = commandLineOf(argc, argv);
    std::vector<const char*> arguments;
    for (const std::string& word : words)
        arguments.push_back(word.c_str());
    const ParsedCommandLine parsed = parseCommandLine(static_cast<int>(arguments.size()), arguments.data());
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "quittenhain: %s\n", parsed.error.c_str());
        return 2;
    }
    takeResourcesFromThePage();
    const CommandLine& command = parsed.options;
    switch (command.mode) {
    case CommandLine::Mode::Help:
        std::fputs(usageText(), stdout);
        return 0;
    case CommandLine::Mode::Version:
        std::fputs(versionText(), stdout);
        return 0;
    case CommandLine::Mode::CaptureFrames:
    case CommandLine::Mode::Benchmark:
        runInPageHeadless(command);
    case CommandLine::Mode::Demo:
        runInPage(command);
    case CommandLine::Mode::Headless:
    case CommandLine::Mode::CaptureVideo:
        break;
    }
    std::fprintf(stderr, "quittenhain: a web page can show the demo, its test frames or the benchmark only\n");
    return 2;
}
