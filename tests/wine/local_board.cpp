#include <winsock2.h>

#include "local_board.h"

#include <cstdlib>

namespace wine_tests {

namespace {
constexpr DWORD kReadTimeoutMs = 5000;
constexpr std::size_t kLongestRequest = 1 << 20;

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}
}  // namespace

std::string HeaderOf(const std::string& request, const std::string& name) {
    const std::string head = request.substr(0, request.find("\r\n\r\n"));
    const std::string lower = Lower(head);
    const std::size_t at = lower.find("\r\n" + Lower(name) + ":");
    if (at == std::string::npos) return "<missing>";
    std::size_t from = at + 3 + name.size();
    while (from < head.size() && head[from] == ' ') ++from;
    return head.substr(from, head.find("\r\n", from) - from);
}

std::string BodyOf(const std::string& request) {
    const std::size_t end = request.find("\r\n\r\n");
    return end == std::string::npos ? std::string() : request.substr(end + 4);
}

LocalBoard::LocalBoard(std::string status, std::string body) : status_(std::move(status)), body_(std::move(body)) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener_ == INVALID_SOCKET) return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof address;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener_, 4) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return;
    port_ = ntohs(address.sin_port);
    thread_ = CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
}

LocalBoard::~LocalBoard() {
    stopping_.store(true);
    if (thread_ != nullptr) {
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
    }
    for (Socket s : silent_) closesocket(s);
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
    WSACleanup();
}

std::vector<std::string> LocalBoard::Requests() {
    std::lock_guard<std::mutex> lock(guard_);
    return requests_;
}

DWORD WINAPI LocalBoard::ThreadProc(LPVOID self) {
    static_cast<LocalBoard*>(self)->Run();
    return 0;
}

void LocalBoard::Run() {
    while (!stopping_.load()) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(listener_, &readable);
        timeval wait{0, 50000};
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0) continue;
        const SOCKET client = accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET) continue;
        ++connections_;
        Serve(client);
    }
}

void LocalBoard::Serve(Socket client) {
    DWORD timeout = kReadTimeoutMs;
    setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    std::string request;
    char buffer[4096];
    for (;;) {
        const std::size_t head = request.find("\r\n\r\n");
        if (head != std::string::npos) {
            const std::string length = HeaderOf(request, "Content-Length");
            const std::size_t want = length == "<missing>" ? 0 : std::strtoul(length.c_str(), nullptr, 10);
            if (request.size() >= head + 4 + want) break;
        }
        if (request.size() > kLongestRequest) break;
        const int got = recv(client, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        request.append(buffer, static_cast<std::size_t>(got));
    }
    {
        std::lock_guard<std::mutex> lock(guard_);
        requests_.push_back(request);
    }
    if (status_.empty()) {
        silent_.push_back(client);  // kept open until the board stops
        return;
    }
    const std::string answer = "HTTP/1.1 " + status_ + "\r\nContent-Type: text/plain\r\nContent-Length: " +
                               std::to_string(body_.size()) + "\r\nConnection: close\r\n\r\n" + body_;
    send(client, answer.data(), static_cast<int>(answer.size()), 0);
    shutdown(client, SD_SEND);
    closesocket(client);
}

}  // namespace wine_tests
