// SPDX-License-Identifier: MIT
#include "cli/context.h"

#include <array>
#include <cerrno>
#include <fstream>
#include <istream>
#include <ostream>

#include "text/text.h"

namespace haoma::cli {

bool readAll(std::istream& in, std::string& data) {
    std::array<char, 1 << 16> chunk{};
    while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0) {
        data.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
    }
    return !in.bad();
}

bool readFile(const std::string& path, std::string& data) {
    std::ifstream file(path, std::ios::binary);
    return file && readAll(file, data);
}

int Context::fail(const std::string& message) const {
    err << "haoma-cli: " << message << "\n";
    return kFailure;
}

int Context::usage(const std::string& message) const {
    err << "haoma-cli: " << message << "\nTry 'haoma-cli --help'.\n";
    return kUsageError;
}

std::string Context::storePath() const {
    return common.db ? *common.db : lookup::storePath(env.programDirectory);
}

std::unique_ptr<lookup::SegmentStore> Context::openStore(std::string& error) const {
    const std::string path = storePath();
    auto store = lookup::SegmentStore::open(path);
    if (!store) {
        error = "cannot open the segment store " + path;
    }
    return store;
}

std::optional<lookup::Carrier> Context::carrier(const std::optional<std::string>& name,
                                                int& status) const {
    const auto carrier = lookup::carrierByName(name.value_or("any"));
    if (!carrier) {
        status = usage("unknown carrier '" + *name + "' (any, 电信, 联通 or 移动)");
    }
    return carrier;
}

std::vector<std::string> Context::textLines(std::string_view text) const {
    std::vector<std::string> lines;
    int notText = 0;
    for (std::string_view line : text::splitViews(text, "\n")) {
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (!text::isValidUtf8(line)) {
            ++notText;
            continue;
        }
        lines.emplace_back(line);
    }
    if (notText > 0) {
        err << "haoma-cli: rejected " << notText << " line" << (notText == 1 ? "" : "s")
            << (notText == 1 ? " that is" : " that are") << " not UTF-8 text\n";
    }
    return lines;
}

int Context::printLines(const std::vector<std::string>& lines) const {
    Output output(out, common.output.value_or(""));
    if (!output.ready()) {
        return fail(output.error());
    }
    std::string block;
    for (const auto& line : lines) {
        block += line;
        block += lineEnd();
    }
    int status = kOk;
    if (!write(output, block, status)) {
        return status;
    }
    return finish(output);
}

bool Context::write(Output& output, std::string& block, int& status) const {
    errno = 0;
    const bool written = output.write(block);
    block.clear();
    if (written) {
        return true;
    }
    status = writeFailure(output);
    return false;
}

int Context::writeFailure(const Output& output) const {
    if (!output.toFile() && errno == EPIPE) {
        return kOk;  // the reader has all it wanted
    }
    return fail(output.toFile() ? output.error() : "cannot write standard output");
}

int Context::finish(Output& output) const {
    errno = 0;
    return output.commit() ? kOk : writeFailure(output);
}

}  // namespace haoma::cli
