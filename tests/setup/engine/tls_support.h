#pragma once
// An HTTPS server on 127.0.0.1 for the download tests, with a certificate made by the test
// itself: a self-signed one for a name of the test's choosing, written to a file the client
// may be told to trust.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>

#include "download_support.h"

namespace testing_support {

// A key and a self-signed certificate whose subject alternative name is subjectAltName
// ("IP:127.0.0.1", "DNS:other.example").
class SelfSignedCertificate {
public:
    explicit SelfSignedCertificate(const std::string& subjectAltName) {
        key_ = EVP_EC_gen("P-256");
        cert_ = X509_new();
        if (!key_ || !cert_) throw std::runtime_error("certificate");
        X509_set_version(cert_, 2);
        ASN1_INTEGER_set(X509_get_serialNumber(cert_), 1);
        X509_gmtime_adj(X509_getm_notBefore(cert_), -3600);
        X509_gmtime_adj(X509_getm_notAfter(cert_), 3600);
        X509_set_pubkey(cert_, key_);
        X509_NAME* name = X509_get_subject_name(cert_);
        X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                                   reinterpret_cast<const unsigned char*>("setup test"), -1, -1, 0);
        X509_set_issuer_name(cert_, name);
        X509V3_CTX ctx;
        X509V3_set_ctx_nodb(&ctx);
        X509V3_set_ctx(&ctx, cert_, cert_, nullptr, nullptr, 0);
        for (const auto& [nid, value] :
             {std::pair<int, std::string>{NID_subject_alt_name, subjectAltName},
              {NID_basic_constraints, "critical,CA:TRUE"}}) {
            X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value.c_str());
            if (!ext) throw std::runtime_error("certificate extension");
            X509_add_ext(cert_, ext, -1);
            X509_EXTENSION_free(ext);
        }
        if (X509_sign(cert_, key_, EVP_sha256()) == 0) throw std::runtime_error("signing");
    }
    ~SelfSignedCertificate() {
        X509_free(cert_);
        EVP_PKEY_free(key_);
    }
    SelfSignedCertificate(const SelfSignedCertificate&) = delete;
    SelfSignedCertificate& operator=(const SelfSignedCertificate&) = delete;

    void writePem(const std::filesystem::path& path) const {
        FILE* out = std::fopen(path.c_str(), "w");
        if (!out || PEM_write_X509(out, cert_) != 1) throw std::runtime_error("PEM");
        std::fclose(out);
    }
    X509* cert() const { return cert_; }
    EVP_PKEY* key() const { return key_; }

private:
    EVP_PKEY* key_ = nullptr;
    X509* cert_ = nullptr;
};

// Answers every request on every connection with the same bytes, one connection at a time.
class TlsLoopbackServer {
public:
    TlsLoopbackServer(const SelfSignedCertificate& certificate, std::string answer)
        : answer_(std::move(answer)) {
        // OpenSSL writes with write(2): a client that hung up must not end the test.
        std::signal(SIGPIPE, SIG_IGN);
        ctx_ = SSL_CTX_new(TLS_server_method());
        if (!ctx_ || SSL_CTX_use_certificate(ctx_, certificate.cert()) != 1 ||
            SSL_CTX_use_PrivateKey(ctx_, certificate.key()) != 1)
            throw std::runtime_error("TLS context");
        listen_ = listenOnLoopback(port_);
        thread_ = std::thread([this] { serve(); });
    }
    ~TlsLoopbackServer() {
        stop_ = true;
        thread_.join();
        ::close(listen_);
        SSL_CTX_free(ctx_);
    }
    TlsLoopbackServer(const TlsLoopbackServer&) = delete;
    TlsLoopbackServer& operator=(const TlsLoopbackServer&) = delete;

    std::string url(const std::string& path) const {
        return "https://127.0.0.1:" + std::to_string(port_) + path;
    }
    // Requests that reached the server whole, through the handshake.
    int answered() const { return answered_; }

private:
    void serve() {
        while (!stop_) {
            pollfd p{listen_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) continue;
            const int fd = ::accept(listen_, nullptr, nullptr);
            if (fd < 0) continue;
            timeval wait{5, 0};
            ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
            SSL* ssl = SSL_new(ctx_);
            SSL_set_fd(ssl, fd);
            // A client that refuses the certificate ends the handshake: nothing to answer.
            if (SSL_accept(ssl) == 1) {
                std::string request;
                char buffer[1024];
                while (request.find("\r\n\r\n") == std::string::npos) {
                    const int n = SSL_read(ssl, buffer, sizeof buffer);
                    if (n <= 0) break;
                    request.append(buffer, static_cast<std::size_t>(n));
                }
                // A client that checks the name after the handshake hangs up instead.
                if (request.find("\r\n\r\n") != std::string::npos) {
                    SSL_write(ssl, answer_.data(), static_cast<int>(answer_.size()));
                    ++answered_;
                    SSL_shutdown(ssl);
                }
            }
            SSL_free(ssl);
            ::close(fd);
        }
    }

    SSL_CTX* ctx_ = nullptr;
    std::string answer_;
    int listen_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> answered_{0};
    std::thread thread_;
};

}  // namespace testing_support
