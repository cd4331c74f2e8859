#include "LoopbackServer.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace slidesmith::engine::test {
namespace {

bool SendAll(int socket, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = send(socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

std::string RequestPath(int client) {
    std::string request;
    char buffer[1024];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 16384) {
        const ssize_t n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        request.append(buffer, static_cast<std::size_t>(n));
    }
    const std::size_t start = request.find(' ');
    const std::size_t end = request.find(' ', start + 1);
    return start == std::string::npos ? "" : request.substr(start + 1, end - start - 1);
}

} // namespace

LoopbackServer::LoopbackServer(std::map<std::string, Response> routes)
    : m_routes(std::move(routes)) {
    m_listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    auto* generic = reinterpret_cast<sockaddr*>(&address);
    socklen_t length = sizeof address;
    if (m_listener < 0 || bind(m_listener, generic, sizeof address) != 0 ||
        listen(m_listener, 8) != 0 || getsockname(m_listener, generic, &length) != 0)
        throw std::runtime_error("the loopback test server cannot listen");
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer() {
    m_stop = true;
    m_thread.join();
    close(m_listener);
}

std::string LoopbackServer::Address() const {
    return "http://127.0.0.1:" + std::to_string(m_port);
}

void LoopbackServer::Serve() {
    while (!m_stop) {
        pollfd waiting{m_listener, POLLIN, 0};
        if (poll(&waiting, 1, 50) <= 0)
            continue;
        const int client = accept(m_listener, nullptr, nullptr);
        if (client < 0)
            continue;
        Answer(client);
        close(client);
    }
}

void LoopbackServer::Answer(int client) {
    const std::string path = RequestPath(client);
    if (path == "/endless") {
        SendAll(client, "HTTP/1.0 200 OK\r\nContent-Type: image/png\r\n\r\n");
        const std::string block(64 * 1024, 'x');
        while (!m_stop && SendAll(client, block)) {
        }
        return;
    }
    if (path == "/stall") {
        SendAll(client, "HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\n");
        while (!m_stop)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return;
    }
    const auto route = m_routes.find(path);
    const Response response = route != m_routes.end() ? route->second : Response{404, "", ""};
    std::string head = "HTTP/1.0 " + std::to_string(response.status) + " Status\r\n";
    if (!response.location.empty())
        head += "Location: " + response.location + "\r\n";
    head += "Content-Length: " + std::to_string(response.body.size()) + "\r\n\r\n";
    SendAll(client, head + response.body);
}

} // namespace slidesmith::engine::test
