// SPDX-License-Identifier: MIT
#pragma once
// Reads the system's font configuration (dozens of files parsed before the first line of text can
// be measured) on a second thread while the first one starts Qt; the windows are built once it is
// read.

#include <thread>

class FontConfigReader {
  public:
    FontConfigReader();
    // Waits for the reading: a start that hands its paths over ends without using it.
    ~FontConfigReader();
    FontConfigReader(const FontConfigReader&) = delete;
    FontConfigReader& operator=(const FontConfigReader&) = delete;

    // Waits until the configuration is read.
    void wait();

  private:
    std::thread reader_;
};
