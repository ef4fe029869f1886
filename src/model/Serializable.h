// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>

class Archive;
class Serializable;

// The run-time class record of a stored class: the name documents carry, its
// schema and a factory for a default instance.
struct ClassInfo {
    const char* name;
    std::uint16_t schema;
    // Whether objects of the class may stand in a page's item list.
    bool item;
    // Makes a default instance; null for classes never made from a stream.
    std::unique_ptr<Serializable> (*create)();
};

// The common root of every class an archive can write or make by name.
class Serializable {
public:
    Serializable() = default;
    virtual ~Serializable() = default;

    virtual const ClassInfo& runtimeClass() const = 0;
    // Writes or reads the object's body, by the archive's mode.
    virtual void Serialize(Archive& ar) = 0;

protected:
    Serializable(const Serializable&) = default;
    Serializable& operator=(const Serializable&) = default;
};
