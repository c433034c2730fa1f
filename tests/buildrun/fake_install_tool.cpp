// A stand-in for a handheld install tool. Called as
//   fake_install_tool MODE DATABASE
// it writes "received DATABASE" to DATABASE.received and then, by MODE:
//   ok     exit 0
//   fail   print a warning and an error line on stderr, exit 3
//   crash  abort
//   stay   keep running until DATABASE.release exists (at most a minute, so
//          it never lingers), then write DATABASE.done and exit 0
//   slow   sleep 300 ms, write DATABASE.done, exit 0
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

namespace {

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path) << text << '\n';
}

bool exists(const std::string& path) {
    return std::ifstream(path).good();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: fake_install_tool MODE DATABASE\n", stderr);
        return 2;
    }
    const std::string mode = argv[1];
    const std::string database = argv[2];
    writeText(database + ".received", "received " + database);
    if (mode == "ok")
        return 0;
    if (mode == "fail") {
        std::fputs("fake_install_tool: warning: the card is nearly full\n", stderr);
        std::fprintf(stderr, "fake_install_tool: error: cannot copy %s: no card\n", database.c_str());
        return 3;
    }
    if (mode == "crash")
        std::abort();
    if (mode == "stay" || mode == "slow") {
        using namespace std::chrono_literals;
        if (mode == "slow") {
            std::this_thread::sleep_for(300ms);
        } else {
            for (int i = 0; i < 3000 && !exists(database + ".release"); ++i)
                std::this_thread::sleep_for(20ms);
        }
        writeText(database + ".done", "done");
        return 0;
    }
    std::fprintf(stderr, "fake_install_tool: unknown mode %s\n", mode.c_str());
    return 2;
}
