#pragma once
// Splits a fuzzer's input bytes into typed values, so a mutation of one value leaves the
// others where they were and the fuzzer reaches past the first parse. Values are taken from the
// front; an exhausted input gives zeros and empty texts, never an error.
#include "platform/core/String.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

class TFuzzInput {
public:
    TFuzzInput(const std::uint8_t* Data, std::size_t Size) : FData(Data, Size) {}

    bool Empty() const { return FData.empty(); }

    std::uint8_t Byte()
    {
        if (FData.empty())
            return 0;
        const std::uint8_t result = FData.front();
        FData = FData.subspan(1);
        return result;
    }

    bool Bool() { return (Byte() & 1) != 0; }

    // Lo..Hi from as few bytes as the range needs.
    std::int64_t IntInRange(std::int64_t Lo, std::int64_t Hi)
    {
        const std::uint64_t range = static_cast<std::uint64_t>(Hi) - static_cast<std::uint64_t>(Lo);
        std::uint64_t value = 0;
        for (std::uint64_t left = range; left != 0 && !FData.empty(); left >>= 8)
            value = (value << 8) | Byte();
        if (range != UINT64_MAX)
            value %= range + 1;
        return static_cast<std::int64_t>(static_cast<std::uint64_t>(Lo) + value);
    }

    // The raw bits of a value: every pattern, NaNs and infinities included.
    template <class T>
    T Raw()
    {
        unsigned char bytes[sizeof(T)] = {};
        for (unsigned char& b : bytes)
            b = Byte();
        T result;
        std::memcpy(&result, bytes, sizeof(T));
        return result;
    }

    // Bytes up to a backslash followed by anything but a backslash ("\\" stands for one
    // backslash), or to the end: inserting or deleting bytes keeps the following values intact.
    QByteArray Bytes()
    {
        QByteArray result;
        while (!FData.empty()) {
            const char c = static_cast<char>(Byte());
            if (c == '\\' && !FData.empty()) {
                if (Byte() != '\\')
                    break;
            }
            result += c;
        }
        return result;
    }

    String Text() { return String::fromUtf8(Bytes()); }

    QByteArray RestBytes()
    {
        const QByteArray result(reinterpret_cast<const char*>(FData.data()), static_cast<qsizetype>(FData.size()));
        FData = {};
        return result;
    }

    String RestText() { return String::fromUtf8(RestBytes()); }

    template <class T, std::size_t N>
    const T& PickOne(const T (&Items)[N])
    {
        return Items[IntInRange(0, N - 1)];
    }

private:
    std::span<const std::uint8_t> FData;
};
