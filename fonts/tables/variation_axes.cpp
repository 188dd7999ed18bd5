#include "variation_axes.h"

namespace tavrel {

namespace {

constexpr std::uint32_t kFvarTag = Tag("fvar");
constexpr std::size_t kHeaderSize = 16, kAxisSize = 20;

struct FvarHeader {
    std::uint16_t major = 0, minor = 0, axesOffset = 0, reserved = 0;
    std::uint16_t axisCount = 0, axisSize = 0, instanceCount = 0, instanceSize = 0;
};

// Names are copied from the 'name' table: all of them together at most what
// the 'name' table's names hold plus 64 KiB, however many records share one.
class NameCopies {
public:
    explicit NameCopies(const FaceInfo& info) : names_(info.names) {
        for (const auto& [id, text] : names_) unitsLeft_ += text.size();
    }
    std::optional<std::u16string> Copy(std::uint16_t id) {
        const auto found = names_.find(id);
        if (found == names_.end() || found->second.size() > unitsLeft_) return std::nullopt;
        unitsLeft_ -= found->second.size();
        return found->second;
    }

private:
    const std::map<std::uint16_t, std::u16string>& names_;
    std::size_t unitsLeft_ = 32 * 1024;
};

void ReadAxes(Bytes fvar, const FvarHeader& h, NameCopies& names, FaceInfo& info) {
    info.axes.reserve(h.axisCount);
    for (std::uint16_t i = 0; i < h.axisCount; ++i) {
        ByteReader reader(fvar, h.axesOffset + std::size_t{h.axisSize} * i);
        VariationAxis axis;
        std::uint32_t minimum = 0, defaultValue = 0, maximum = 0;
        std::uint16_t flags = 0, nameId = 0;
        reader.ReadU32(axis.tag);
        reader.ReadU32(minimum);
        reader.ReadU32(defaultValue);
        reader.ReadU32(maximum);
        reader.ReadU16(flags);
        reader.ReadU16(nameId);
        axis.minimum = FixedToDouble(minimum);
        axis.defaultValue = FixedToDouble(defaultValue);
        axis.maximum = FixedToDouble(maximum);
        axis.name = names.Copy(nameId);
        info.axes.push_back(std::move(axis));
    }
}

void ReadInstances(Bytes fvar, const FvarHeader& h, std::size_t at, NameCopies& names, FaceInfo& info) {
    info.instances.reserve(h.instanceCount);
    for (std::uint16_t i = 0; i < h.instanceCount; ++i) {
        ByteReader reader(fvar, at + std::size_t{h.instanceSize} * i);
        NamedInstance instance;
        std::uint16_t nameId = 0, flags = 0;
        reader.ReadU16(nameId);
        reader.ReadU16(flags);
        instance.name = names.Copy(nameId);
        instance.coordinates.reserve(h.axisCount);
        for (const VariationAxis& axis : info.axes) {
            std::uint32_t value = 0;
            reader.ReadU32(value);
            instance.coordinates.emplace_back(axis.tag, FixedToDouble(value));
        }
        info.instances.push_back(std::move(instance));
    }
}

}  // namespace

void ReadVariationAxes(Bytes fvar, FaceInfo& info) {
    FvarHeader h;
    ByteReader reader(fvar);
    if (!reader.ReadU16(h.major) || !reader.ReadU16(h.minor) || !reader.ReadU16(h.axesOffset) ||
        !reader.ReadU16(h.reserved) || !reader.ReadU16(h.axisCount) || !reader.ReadU16(h.axisSize) ||
        !reader.ReadU16(h.instanceCount) || !reader.ReadU16(h.instanceSize))
        return info.problems.push_back(TableProblem(kFvarTag, "the header extends past the table"));
    if (h.major != 1) return info.problems.push_back(TableProblem(kFvarTag, "version " + std::to_string(h.major) + " is unknown"));
    if (h.axisCount == 0) return info.problems.push_back(TableProblem(kFvarTag, "it has no axes"));
    if (h.axesOffset < kHeaderSize || h.axisSize < kAxisSize)
        return info.problems.push_back(TableProblem(kFvarTag, "the axis records overlap the header"));
    const std::uint64_t axesEnd = h.axesOffset + std::uint64_t{h.axisSize} * h.axisCount;
    if (!RangeInside(h.axesOffset, axesEnd - h.axesOffset, fvar.size()))
        return info.problems.push_back(TableProblem(kFvarTag, "the axis records extend past the table"));
    NameCopies names(info);
    ReadAxes(fvar, h, names, info);
    // An instance holds its name ID, flags, one coordinate per axis and
    // perhaps a PostScript name ID.
    const std::uint64_t coordinates = 4 + 4 * std::uint64_t{h.axisCount};
    if (h.instanceCount > 0 && h.instanceSize != coordinates && h.instanceSize != coordinates + 2)
        return info.problems.push_back(TableProblem(kFvarTag, "instance size " + std::to_string(h.instanceSize) +
                                                                   " does not fit an axis count of " + std::to_string(h.axisCount)));
    if (!RangeInside(axesEnd, std::uint64_t{h.instanceSize} * h.instanceCount, fvar.size()))
        return info.problems.push_back(TableProblem(kFvarTag, "the instance records extend past the table"));
    ReadInstances(fvar, h, static_cast<std::size_t>(axesEnd), names, info);
}

}  // namespace tavrel
