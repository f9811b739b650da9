#pragma once
// Test doubles for the Internet downloads: an HTTP server on 127.0.0.1 run by the test itself
// and the progress page with its questions as a log.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "setup/config/Prompter.h"
#include "setup/engine/LoopScheduler.h"
#include "setup/engine/ProgressView.h"

namespace testing_support {

// A socket listening on 127.0.0.1 at a port of the kernel's choosing.
inline int listenOnLoopback(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::listen(fd, 8) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        throw std::runtime_error("loopback server");
    port = ntohs(address.sin_port);
    return fd;
}

// Answers one request per connection, one connection at a time. A handler writes the whole
// answer; an unknown path gets a 404.
class LoopbackServer {
public:
    using Handler = std::function<void(int fd)>;

    LoopbackServer() {
        listen_ = listenOnLoopback(port_);
        thread_ = std::thread([this] { serve(); });
    }
    ~LoopbackServer() {
        stop_ = true;
        thread_.join();
        ::close(listen_);
    }

    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    void on(const std::string& path, Handler handler) {
        std::lock_guard lock(mutex_);
        handlers_[path] = std::move(handler);
    }
    int hits(const std::string& path) {
        std::lock_guard lock(mutex_);
        return hits_[path];
    }
    bool stopping() const { return stop_; }

    static void send(int fd, const std::string& bytes) {
        ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    }
    static Handler reply(const std::string& bytes) {
        return [bytes](int fd) { send(fd, bytes); };
    }
    // Holds the connection open until the client gives up (or the server stops).
    void waitForClose(int fd) const {
        char buffer[256];
        while (!stop_) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 20) > 0 && ::recv(fd, buffer, sizeof buffer, 0) <= 0) return;
        }
    }

private:
    void serve() {
        while (!stop_) {
            pollfd p{listen_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) continue;
            const int fd = ::accept(listen_, nullptr, nullptr);
            if (fd < 0) continue;
            std::string request;
            char buffer[1024];
            while (request.find("\r\n\r\n") == std::string::npos) {
                const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
                if (n <= 0) break;
                request.append(buffer, static_cast<std::size_t>(n));
            }
            const auto from = request.find(' ') + 1;
            const std::string path = request.substr(from, request.find(' ', from) - from);
            Handler handler;
            {
                std::lock_guard lock(mutex_);
                ++hits_[path];
                if (auto it = handlers_.find(path); it != handlers_.end()) handler = it->second;
            }
            if (handler)
                handler(fd);
            else
                send(fd,
                     "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\nConnection: close\r\n\r\nNot "
                     "found");
            ::shutdown(fd, SHUT_WR);
            ::close(fd);
        }
    }

    int listen_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::map<std::string, Handler> handlers_;
    std::map<std::string, int> hits_;
    std::thread thread_;
};

// The progress page and its message boxes as one log of what the user would have seen, with
// the virtual time of each entry.
class RecordingPage final : public setup::ProgressView, public setup::Prompter {
public:
    RecordingPage(setup::LoopScheduler& clock, std::vector<setup::Answer> answers)
        : clock_(clock), answers_(answers.begin(), answers.end()) {}

    void setRange(int) override {}
    void setValue(int v) override {
        value_ = v;
        record("bar " + std::to_string(v));
    }
    int value() const override { return value_; }
    void setStatus(std::string_view text) override { record("status " + std::string(text)); }
    void setCurrentFile(std::string_view text) override { record("file " + std::string(text)); }
    void showDownload(bool shown) override { record(shown ? "shown" : "hidden"); }
    void setDownloadPercent(int percent) override { record(std::to_string(percent) + "%"); }
    void setDownloadLines(std::string_view first, std::string_view second) override {
        record("lines " + std::string(first) + "|" + std::string(second));
    }
    void pump() override {}

    void message(std::string_view text, std::string_view title) override {
        record("message " + std::string(title) + ": " + std::string(text));
    }
    setup::Answer okCancel(std::string_view, std::string_view) override {
        return setup::Answer::Cancel;
    }
    setup::Answer yesNo(std::string_view text, std::string_view title, std::string_view,
                        std::string_view) override {
        const auto answer = answers_.empty() ? setup::Answer::No : answers_.front();
        if (!answers_.empty()) answers_.pop_front();
        record("ask " + std::string(title) + ": " + std::string(text) +
               (answer == setup::Answer::Yes ? " Yes" : " No"));
        return answer;
    }

    void record(std::string entry) {
        log.push_back(std::move(entry));
        times.push_back(clock_.now());
    }

    std::vector<std::string> log;
    std::vector<long long> times;  // virtual, of each entry

private:
    setup::LoopScheduler& clock_;
    std::deque<setup::Answer> answers_;
    int value_ = 0;
};

}  // namespace testing_support
