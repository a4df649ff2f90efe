#include "list_command.h"

#include <cstdio>
#include <iostream>
#include <new>
#include <optional>
#include <string>

#include "json_text.h"
#include "model/chunk_listing.h"
#include "model/files/file_errors.h"
#include "model/files/model_file.h"
#include "model/files/path_text.h"
#include "model_sources.h"
#include "standard_output.h"

namespace morvane::cli {

namespace {

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

std::string rowType(ListingRow::Type type) {
    switch (type) {
        case ListingRow::Type::Chunk:
            return "chunk";
        case ListingRow::Type::UnrecognisedWords:
            return "unrecognised";
        case ListingRow::Type::TrailingBytes:
            return "trailing";
    }
    return {};
}

std::string jsonRow(const ListingRow& row) {
    Json json = {{"type", rowType(row.type)}};
    if (row.type == ListingRow::Type::Chunk) {
        json["tag"] = std::string(row.chunk.kind->name);
    }
    json["offset"] = row.offset;
    json["bytes"] = row.bytes;
    if (row.type == ListingRow::Type::Chunk) {
        json["second"] = row.chunk.second;
        json["size"] = row.chunk.size;
    }
    return JsonText(json);
}

std::string blockLine(const CarriedBlock& block) {
    return "block: " + std::to_string(block.volumes) + " collision volumes at offset " +
           std::to_string(block.offset()) + ", in the PRIM chunk at offset " +
           std::to_string(block.primOffset) + " (payload offset " +
           std::to_string(block.payloadOffset) + "); the model was rewritten before\n";
}

std::string jsonBlock(const std::optional<CarriedBlock>& block) {
    if (!block) {
        return "null";
    }
    return JsonText({{"offset", block->offset()},
                     {"prim_offset", block->primOffset},
                     {"payload_offset", block->payloadOffset},
                     {"volumes", block->volumes}});
}

struct Listed {
    std::optional<CarriedBlock> block;  // the one a rewrite left, if any
    std::string problem;                // the refusal or failure, or ""
};

// Lists one model through `row`.
Listed listModel(const std::filesystem::path& path, const ListingSink& row) {
    try {
        return {ModelFile(path).list(row), {}};
    } catch (const std::bad_alloc&) {
        return {std::nullopt, OutOfMemoryMessage("list", path)};
    } catch (const std::exception& error) {
        return {std::nullopt, error.what()};
    }
}

bool listAsTable(const ModelList& models, StandardOutput& output) {
    std::ostream& out = output.stream();
    bool allListed = true;
    const char* separator = "";
    for (std::size_t model = 0; model < models.size(); ++model) {
        const std::filesystem::path path = models.path(model);
        out << separator << Quoted(path) << "\n" << tableHeading();
        separator = "\n";
        const auto [block, problem] =
            listModel(path, [&out](const ListingRow& row) { out << tableRow(row); });
        if (block) {
            out << blockLine(*block);
        }
        if (!output.stillWritten("the listing")) {
            return false;
        }
        if (!problem.empty()) {
            std::cerr << "morvane-cli: " << problem << '\n';
            allListed = false;
        }
    }
    return allListed;
}

bool listAsJson(const ModelList& models, StandardOutput& output) {
    std::ostream& out = output.stream();
    bool allListed = true;
    out << "[";
    const char* fileSeparator = "\n";
    for (std::size_t model = 0; model < models.size(); ++model) {
        const std::filesystem::path path = models.path(model);
        out << fileSeparator << "  {\"file\": " << JsonText(TextOf(path)) << ", \"chunks\": [";
        fileSeparator = ",\n";
        const char* rowSeparator = "\n";
        const auto [block, problem] = listModel(path, [&](const ListingRow& row) {
            out << rowSeparator << "    " << jsonRow(row);
            rowSeparator = ",\n";
        });
        out << "\n  ], \"block\": " << jsonBlock(block)
            << ", \"error\": " << (problem.empty() ? "null" : JsonText(problem)) << "}";
        if (!output.stillWritten("the listing")) {
            return false;
        }
        if (!problem.empty()) {
            std::cerr << "morvane-cli: " << problem << '\n';
            allListed = false;
        }
    }
    out << "\n]\n";
    return output.stillWritten("the listing") && allListed;
}

}  // namespace

bool ListModels(const Options& options, StandardOutput& output) {
    bool allFound = true;
    const ModelList models = CollectModels(options, allFound);
    const bool allListed = options.json ? listAsJson(models, output) : listAsTable(models, output);
    return allListed && allFound;
}

}  // namespace morvane::cli
