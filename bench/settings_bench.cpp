// Reading and writing zrv.cfg: the configuration screen's cancel reads the file again
// and save writes it, so both should stay far below a frame.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "config/settings.h"
#include "platform/message_box.h"

namespace {

bool ignoreBox(void*, const char*, const char*) {
    return false;
}

const char* kPath = "/tmp/voka-settings-bench.cfg";

void writeSample() {
    Settings::resetStartValues();
    Settings::setKeyForward('w');
    Settings::setMouseSensitivity(5);
    Settings::setPlayerName("Bench");
    Settings::setServerIp("127.0.0.1");
    Settings::setServerPort(24500);
    Settings::setResolution(1);
    Settings::instance().writeFile(kPath);
}

void BM_ReadSettingsFile(benchmark::State& state) {
    platform::setMessageSink(ignoreBox, nullptr);
    writeSample();
    for (auto _ : state) benchmark::DoNotOptimize(Settings::instance().readFile(kPath));
    std::remove(kPath);
}
BENCHMARK(BM_ReadSettingsFile);

void BM_WriteSettingsFile(benchmark::State& state) {
    writeSample();
    for (auto _ : state) benchmark::DoNotOptimize(Settings::instance().writeFile(kPath));
    std::remove(kPath);
}
BENCHMARK(BM_WriteSettingsFile);

}  // namespace
