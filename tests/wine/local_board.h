// A scoreboard on this machine for the posting tests: an HTTP server on
// 127.0.0.1 that keeps each request it gets and answers with a set status
// and body, or accepts the connection and never answers. Every wait in it is
// bounded; it stops with the object.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace wine_tests {

class LocalBoard {
public:
    // `status` such as "200 OK"; an empty status never answers.
    LocalBoard(std::string status, std::string body);
    ~LocalBoard();
    LocalBoard(const LocalBoard&) = delete;
    LocalBoard& operator=(const LocalBoard&) = delete;

    int Port() const { return port_; }
    std::string Address() const { return "http://127.0.0.1:" + std::to_string(port_) + "/post/"; }
    // The requests received whole (head and body), in order.
    std::vector<std::string> Requests();
    // Connections accepted, answered or not.
    int Connections() const { return connections_.load(); }

private:
    static DWORD WINAPI ThreadProc(LPVOID self);
    void Run();
    using Socket = std::uintptr_t;  // the sockets' header stays out of the tests'
    void Serve(Socket client);

    std::string status_, body_;
    Socket listener_ = ~Socket{0};
    int port_ = 0;
    HANDLE thread_ = nullptr;
    std::atomic<bool> stopping_{false};
    std::atomic<int> connections_{0};
    std::mutex guard_;
    std::vector<std::string> requests_;
    std::vector<Socket> silent_;  // held open, never answered
};

// The header's value in a request, or "<missing>".
std::string HeaderOf(const std::string& request, const std::string& name);
// What follows the request's head.
std::string BodyOf(const std::string& request);

}  // namespace wine_tests
