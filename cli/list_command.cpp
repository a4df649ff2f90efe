#include "list_command.h"

#include <cstdio>
#include <iostream>
#include <string>

#include "model/chunk_listing.h"

namespace {

using morvane::ListingRow;

std::string hexWord(std::int32_t word) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<std::uint32_t>(word));
    return text;
}

std::string tableHeading() {
    char line[160];
    std::snprintf(line, sizeof line, "%12s  %-4s  %11s  %11s  %12s\n", "offset", "tag",
                  "second word", "size word", "bytes");
    return line;
}

std::string tableRow(const ListingRow& row) {
    const auto offset = static_cast<long long>(row.offset);
    const auto bytes = static_cast<long long>(row.bytes);
    char line[160];
    if (row.type == ListingRow::Type::Chunk) {
        std::snprintf(line, sizeof line, "%12lld  %-4s  %11s  %11d  %12lld\n", offset,
                      row.chunk.kind->name.data(), hexWord(row.chunk.second).c_str(),
                      row.chunk.size, bytes);
    } else {
        const char* what = row.type == ListingRow::Type::UnrecognisedWords ? "unrecognised words"
                                                                           : "trailing bytes";
        std::snprintf(line, sizeof line, "%12lld  %-30s  %12lld\n", offset, what, bytes);
    }
    return line;
}

std::string jsonString(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(c));
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string jsonRow(const ListingRow& row) {
    const std::string place =
        "\"offset\": " + std::to_string(row.offset) + ", \"bytes\": " + std::to_string(row.bytes);
    switch (row.type) {
        case ListingRow::Type::Chunk:
            return "{\"type\": \"chunk\", \"tag\": " +
                   jsonString(std::string(row.chunk.kind->name)) + ", " + place +
                   ", \"second\": " + std::to_string(row.chunk.second) +
                   ", \"size\": " + std::to_string(row.chunk.size) + "}";
        case ListingRow::Type::UnrecognisedWords:
            return "{\"type\": \"unrecognised\", " + place + "}";
        case ListingRow::Type::TrailingBytes:
            return "{\"type\": \"trailing\", " + place + "}";
    }
    return {};
}

// Lists one model through `row`; returns the refusal or failure, or "".
std::string listModel(const std::string& path, const morvane::ListingSink& row) {
    try {
        morvane::ListModelFile(path, row);
        return {};
    } catch (const std::exception& error) {
        return error.what();
    }
}

bool listAsTable(const Options& options, std::ostream& out) {
    bool allListed = true;
    const char* separator = "";
    for (const std::string& path : options.paths) {
        out << separator << "'" << path << "'\n" << tableHeading();
        separator = "\n";
        const std::string problem =
            listModel(path, [&out](const ListingRow& row) { out << tableRow(row); });
        if (!problem.empty()) {
            out.flush();
            std::cerr << "morvane-cli: " << problem << '\n';
            allListed = false;
        }
    }
    return allListed;
}

bool listAsJson(const Options& options, std::ostream& out) {
    bool allListed = true;
    out << "[";
    const char* fileSeparator = "\n";
    for (const std::string& path : options.paths) {
        out << fileSeparator << "  {\"file\": " << jsonString(path) << ", \"chunks\": [";
        fileSeparator = ",\n";
        const char* rowSeparator = "\n";
        const std::string problem = listModel(path, [&](const ListingRow& row) {
            out << rowSeparator << "    " << jsonRow(row);
            rowSeparator = ",\n";
        });
        out << "\n  ], \"error\": " << (problem.empty() ? "null" : jsonString(problem)) << "}";
        if (!problem.empty()) {
            std::cerr << "morvane-cli: " << problem << '\n';
            allListed = false;
        }
    }
    out << "\n]\n";
    return allListed;
}

}  // namespace

bool ListModels(const Options& options, std::ostream& out) {
    return options.json ? listAsJson(options, out) : listAsTable(options, out);
}
