#include "standin_store.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "util/text.h"

namespace tolva::dbstandin {

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ShortString(const std::string& record, size_t offset, size_t capacity) {
    if (record.size() <= offset) {
        return {};
    }
    const size_t length = std::min<size_t>(static_cast<unsigned char>(record[offset]), capacity);
    return record.substr(offset + 1, length);
}

}  // namespace

void StandinStore::SetConnection(std::string_view connection) {
    connection_ = std::string(connection);
    folder_ = connection_.substr(0, connection_.find(';'));
    if (!folder_.empty() && folder_.back() != '/' && folder_.back() != '\\') {
        folder_ += '/';
    }
}

void StandinStore::Disconnect() {
    connection_.clear();
    folder_.clear();
}

void StandinStore::Log(std::string_view line) const {
    if (folder_.empty()) {
        return;
    }
    std::ofstream out(folder_ + "calls.log", std::ios::binary | std::ios::app);
    out << line << "\r\n";
}

std::string StandinStore::DomainRecords() const {
    if (folder_.empty()) {
        return {};
    }
    std::string records = ReadFile(folder_ + "domains.dat");
    records.resize(records.size() / kDomainSize * kDomainSize);
    return records;
}

std::vector<std::string> StandinStore::DomainNames() const {
    const std::string records = DomainRecords();
    std::vector<std::string> names;
    for (size_t offset = 0; offset < records.size(); offset += kDomainSize) {
        names.push_back(util::LowerCase(ShortString(records, offset, kDomainSize - 1)));
    }
    return names;
}

std::string StandinStore::AccountsPath(std::string_view domain) const {
    if (folder_.empty() || domain.empty() || domain == "." || domain == ".." ||
        domain.find_first_of("\\/:") != std::string_view::npos) {
        return {};
    }
    return folder_ + util::LowerCase(domain) + ".users";
}

bool StandinStore::ReadAccounts(std::string_view domain, std::vector<std::string>& records) const {
    records.clear();
    const std::string path = AccountsPath(domain);
    if (path.empty()) {
        return false;
    }
    const std::string content = ReadFile(path);
    for (size_t offset = 0; offset + kAccountSize <= content.size(); offset += kAccountSize) {
        records.push_back(content.substr(offset, kAccountSize));
    }
    return true;
}

bool StandinStore::WriteAccount(std::string_view domain, const std::string& record,
                                int32_t& index) {
    std::vector<std::string> records;
    if (!ReadAccounts(domain, records) || record.size() != kAccountSize || index < -1) {
        return false;
    }
    if (index == -1 || static_cast<size_t>(index) >= records.size()) {
        index = static_cast<int32_t>(records.size());
        records.push_back(record);
    } else {
        records[static_cast<size_t>(index)] = record;
    }
    std::ofstream out(AccountsPath(domain), std::ios::binary | std::ios::trunc);
    for (const std::string& r : records) {
        out.write(r.data(), static_cast<std::streamsize>(r.size()));
    }
    out.close();
    return static_cast<bool>(out);
}

std::vector<std::string> AccountAliases(const std::string& record) {
    return util::ListItems(util::LowerCase(ShortString(record, 260, 255)));
}

}  // namespace tolva::dbstandin
