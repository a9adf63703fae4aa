#pragma once

// The tarnwick-server program as a child process of a test.

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

extern char** environ;

// A running tarnwick-server with its standard output on a pipe.
class ServerProcess {
public:
    explicit ServerProcess(const std::vector<std::string>& arguments) {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0)
            return;
        std::vector<std::string> all = {TARNWICK_SERVER_PROGRAM};
        all.insert(all.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& argument : all)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        const pid_t parent = getpid();
        mPid = fork();
        if (mPid == 0) {
            // The server dies with the test, so an aborted test leaves no
            // server holding ctest's output pipe open.
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (getppid() != parent)
                _exit(127);
            dup2(pipeEnds[1], STDOUT_FILENO);
            close(pipeEnds[0]);
            close(pipeEnds[1]);
            execve(argv[0], argv.data(), environ);
            _exit(127);
        }
        close(pipeEnds[1]);
        mOutput = fdopen(pipeEnds[0], "r");
    }
    ~ServerProcess() {
        kill(SIGKILL);
        if (mOutput != nullptr)
            fclose(mOutput);
    }

    // The port of the line "port N"; -1 when the program ended first.
    int readPort() {
        char line[512];
        while (mOutput != nullptr && fgets(line, sizeof line, mOutput) != nullptr) {
            int port = 0;
            if (std::sscanf(line, "port %d", &port) == 1)
                return port;
        }
        return -1;
    }
    void kill(int signal) {
        if (mPid > 0) {
            ::kill(mPid, signal);
            waitpid(mPid, nullptr, 0);
            mPid = -1;
        }
    }
    // The exit code once it has ended by itself.
    int wait() {
        int status = 0;
        waitpid(mPid, &status, 0);
        mPid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t mPid = -1;
    FILE* mOutput = nullptr;
};
