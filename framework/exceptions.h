// The few exceptions of the framework. They never cross a window procedure:
// they are thrown by constructors and caught by whoever built the object.
#pragma once

#include <exception>

class CException : public std::exception {
public:
    const char* what() const noexcept override { return "framework exception"; }
};

// A window class, font, bitmap or other system resource could not be had.
class CResourceException : public CException {
public:
    const char* what() const noexcept override { return "resource unavailable"; }
};
