#pragma once

#include <QtGlobal>

#include <array>
#include <cstddef>

// Where random bits come from. Production draws from the kernel's CSPRNG; tests script the values.
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    virtual quint32 next32() = 0;
};

// The operating system's cryptographically secure generator (getrandom), read in blocks so that a
// batch of draws costs few system calls. No seed, no dependence on the clock.
class SystemRandomSource final : public RandomSource
{
public:
    quint32 next32() override;

    static SystemRandomSource& instance();

private:
    void refill();

    std::array<quint32, 1024> buffer_{};
    std::size_t next_ = buffer_.size();
};

// A draw from 0 to n - 1, each value exactly equally likely (rejection sampling). n must be positive.
int RandomBelow(int n, RandomSource& source);
