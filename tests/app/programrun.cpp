#include "programrun.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace curvana::test {

namespace {

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

TRun RunCurvana(const std::vector<std::string>& arguments, const std::vector<std::string>& removed,
                const std::vector<std::string>& added) {
    const auto dir = std::filesystem::temp_directory_path();
    const std::string tag = std::to_string(::getpid());
    const std::string outPath = (dir / ("curvana-run-out-" + tag)).string();
    const std::string errPath = (dir / ("curvana-run-err-" + tag)).string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    std::vector<std::string> args{CURVANA_BINARY};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        bool keep = true;
        for (const std::string& name : removed) {
            keep = keep && !entry.starts_with(name + "=");
        }
        if (keep) {
            env.push_back(entry);
        }
    }
    env.insert(env.end(), added.begin(), added.end());
    std::vector<char*> envp;
    for (std::string& e : env) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);
    TRun run;
    pid_t pid = 0;
    if (posix_spawn(&pid, CURVANA_BINARY, &actions, nullptr, argv.data(), envp.data()) == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    run.Out = ReadFile(outPath);
    run.Err = ReadFile(errPath);
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return run;
}

} // namespace curvana::test
