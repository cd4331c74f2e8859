#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

// Downloads of pictures named by http:// and https:// addresses.
namespace slidesmith::net {

// Thrown when a download fails; what() names the address and the reason (no answer, an HTTP
// status, too large, too slow).
class FetchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct FetchLimits {
    // Seconds to wait for a connection; 0 waits as long as the system does.
    long connectTimeoutSeconds = 15;
    // A larger body is refused as soon as that many bytes have arrived, so an endless stream
    // cannot exhaust memory.
    std::size_t maxBytes = 50u * 1024u * 1024u;
    // A transfer that delivers nothing for this many seconds is given up (a stalled server).
    long stallSeconds = 30;
    long maxRedirects = 10;
};

// True for addresses this module fetches (http:// or https://, any case).
bool IsWebAddress(std::string_view address);

// The body of a GET on `address`, following redirects (to http and https only). Throws
// FetchError for a failed connection, a status of 400 or above, a body above the limit or a
// stalled transfer. Thread-safe.
std::string FetchUrl(const std::string& address, const FetchLimits& limits);

} // namespace slidesmith::net
