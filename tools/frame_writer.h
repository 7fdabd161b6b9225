#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "host/image_file.h"
#include "tools/render_options.h"

// Writes the finished frames of a run on a thread of its own, so that the next frames render
// meanwhile. A waiting frame holds its whole image, so only a few may wait: a renderer that
// finds them all waiting waits for the writer.
class FrameWriter {
  public:
    // written is called on the writer's thread after each file.
    FrameWriter(quorvel::host::Compression compression,
                std::function<void(const RenderJob&)> written);
    // Writes what waits, then stops.
    ~FrameWriter();
    FrameWriter(const FrameWriter&) = delete;
    FrameWriter& operator=(const FrameWriter&) = delete;

    // Hands a frame over; false once a write has failed, to stop the frames not yet started.
    bool Add(const RenderJob& job, std::unique_ptr<quorvel::host::World> image);
    // Waits until every frame handed over is written or a write has failed.
    void Drain();
    // Drain, then pass on the first write failure.
    void Finish();

  private:
    struct Pending {
        RenderJob job;
        std::unique_ptr<quorvel::host::World> image;
    };

    void Run();
    void Stop();

    quorvel::host::Compression compression_;
    std::function<void(const RenderJob&)> written_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Pending> waiting_;
    bool writing_ = false;
    bool stopping_ = false;
    std::exception_ptr failure_;
    std::thread thread_;
};
