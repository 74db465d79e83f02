// Files beside the repository (../shared: the corpus of real programs, the program
// generator) are optional: a test that needs them skips, saying what is missing.
//
//   TEST(Corpus, RunsEveryProgram) {
//       CUTTRACE_SKIP_WITHOUT(CUTTRACE_CORPUS);
//       ...
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#define CUTTRACE_SKIP_WITHOUT(path)                                                \
    do {                                                                           \
        if (!std::filesystem::exists(path))                                        \
            GTEST_SKIP() << "skipped: " << (path)                                  \
                         << " is absent (the shared files beside the repository)"; \
    } while (false)
