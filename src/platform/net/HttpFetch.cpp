#include "platform/net/HttpFetch.h"

#include <algorithm>
#include <cctype>
#include <curl/curl.h>
#include <memory>

namespace slidesmith::net {
namespace {

// curl_global_init is not thread-safe; one static initialisation is.
void EnsureCurlInitialised() {
    static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
    if (initialised != CURLE_OK)
        throw FetchError(std::string("the download library cannot start: ") +
                         curl_easy_strerror(initialised));
}

struct EasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};

struct Download {
    std::string body;
    std::size_t maxBytes = 0;
    bool tooLarge = false;
};

std::size_t Receive(char* data, std::size_t size, std::size_t count, void* user) {
    auto* download = static_cast<Download*>(user);
    const std::size_t bytes = size * count;
    if (download->body.size() + bytes > download->maxBytes) {
        download->tooLarge = true;
        return 0; // a short count makes curl stop with CURLE_WRITE_ERROR
    }
    download->body.append(data, bytes);
    return bytes;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == b;
           });
}

void Configure(CURL* curl, const std::string& address, const FetchLimits& limits,
               Download& download, char* errorText) {
    curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, limits.maxRedirects);
    // A redirect must not turn a web address into a local file or another protocol.
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, limits.connectTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, limits.stallSeconds);
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBytes));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Receive);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &download);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "Slidesmith");
    curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
}

} // namespace

bool IsWebAddress(std::string_view address) {
    return StartsWithNoCase(address, "http://") || StartsWithNoCase(address, "https://");
}

std::string FetchUrl(const std::string& address, const FetchLimits& limits) {
    EnsureCurlInitialised();
    std::unique_ptr<CURL, EasyDeleter> curl(curl_easy_init());
    if (!curl)
        throw FetchError(address + ": the download library cannot create a transfer");
    Download download;
    download.maxBytes = limits.maxBytes;
    char errorText[CURL_ERROR_SIZE] = {};
    Configure(curl.get(), address, limits, download, errorText);
    const CURLcode result = curl_easy_perform(curl.get());
    if (download.tooLarge || result == CURLE_FILESIZE_EXCEEDED)
        throw FetchError(address + ": the picture is larger than " +
                         std::to_string(limits.maxBytes / (1024 * 1024)) + " MB");
    if (result != CURLE_OK) {
        const std::string reason = errorText[0] != '\0' ? errorText : curl_easy_strerror(result);
        throw FetchError(address + ": " + reason);
    }
    long status = 0;
    curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &status);
    if (status >= 400)
        throw FetchError(address + ": the server answered HTTP " + std::to_string(status));
    return std::move(download.body);
}

} // namespace slidesmith::net
