#include "tools/repeated_output_filter.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <set>
#include <vector>

namespace {

void WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = write(fd, text.data() + done, text.size() - done);
        if (written <= 0) {
            return;
        }
        done += static_cast<std::size_t>(written);
    }
}

}  // namespace

RepeatedOutputFilter::RepeatedOutputFilter() {
    std::cout.flush();
    std::fflush(stdout);
    int ends[2];
    if (pipe(ends) != 0) {
        return;
    }
    standardOutput_ = dup(STDOUT_FILENO);
    if (standardOutput_ < 0 || dup2(ends[1], STDOUT_FILENO) < 0) {
        close(ends[0]);
        close(ends[1]);
        if (standardOutput_ >= 0) {
            close(standardOutput_);
            standardOutput_ = -1;
        }
        return;
    }
    close(ends[1]);
    const int input = ends[0];
    thread_ = std::thread([this, input] { Run(input); });
}

RepeatedOutputFilter::~RepeatedOutputFilter() {
    if (standardOutput_ < 0) {
        return;
    }
    std::cout.flush();
    std::fflush(stdout);
    // Closes the pipe's last writing end: the filter reads to the end and stops.
    dup2(standardOutput_, STDOUT_FILENO);
    thread_.join();
    close(standardOutput_);
}

void RepeatedOutputFilter::Run(int input) {
    std::set<std::string> seen;
    std::string line;
    std::string block;
    bool emptyLast = false;
    const auto endBlock = [&] {
        if (!block.empty() && seen.insert(block).second) {
            WriteAll(standardOutput_, block);
            emptyLast = false;
        }
        block.clear();
    };
    char buffer[4096];
    ssize_t count = 0;
    while ((count = read(input, buffer, sizeof(buffer))) > 0) {
        for (ssize_t i = 0; i < count; ++i) {
            line += buffer[i];
            if (buffer[i] != '\n') {
                continue;
            }
            if (line == "\n") {
                endBlock();
                if (!emptyLast) {
                    WriteAll(standardOutput_, line);
                    emptyLast = true;
                }
            } else {
                block += line;
            }
            line.clear();
        }
    }
    block += line;
    endBlock();
    close(input);
}
