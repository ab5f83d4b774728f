#pragma once

#include <memory>

// Owning pointers to OpenSSL objects, freed with their own free function:
// OpenSSLPointer<X509, X509_free> certificate(d2i_X509(...)).
template<typename T, void (*Free)(T *)> struct OpenSSLDeleter
{
    void operator()(T *object) const { Free(object); }
};

template<typename T, void (*Free)(T *)> using OpenSSLPointer = std::unique_ptr<T, OpenSSLDeleter<T, Free>>;
