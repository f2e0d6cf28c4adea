#include <CLI/CLI.hpp>

int main(int argc, char** argv) {
    CLI::App app{"torvactl - configure and diagnose a dual-fuel engine controller from a terminal"};
    app.set_version_flag("--version", "torvactl 0.1.0");
    CLI11_PARSE(app, argc, argv);
    return 0;
}
