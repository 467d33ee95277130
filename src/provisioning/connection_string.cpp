#include "provisioning/connection_string.h"

#include <utility>
#include <vector>

#include "util/text.h"

namespace tolva::provisioning {
namespace {

// The values between separators; asking past the last gives an empty value.
class Values {
public:
    Values(std::string_view text, char separator) : values_(util::SplitText(text, separator)) {}
    std::string_view operator[](size_t index) const {
        return index < values_.size() ? std::string_view(values_[index]) : std::string_view();
    }

private:
    std::vector<std::string> values_;
};

std::string_view PrimaryText(std::string_view connection) {
    return connection.substr(0, connection.find('|'));
}

std::optional<std::string_view> BackupText(std::string_view connection) {
    size_t bar = connection.find('|');
    if (bar == std::string_view::npos) {
        return std::nullopt;
    }
    return connection.substr(bar + 1);
}

int32_t NumberIn(std::string_view text, size_t count, int32_t fallback) {
    int32_t number = util::StrToIntDef(text, -1);
    return number >= 0 && static_cast<size_t>(number) < count ? number : fallback;
}

// The backup part's separators are "|"; ";" is taken as well.
std::string BackupValuesText(std::string_view connection) {
    std::string text(BackupText(connection).value_or(std::string_view()));
    for (char& c : text) {
        if (c == '|') {
            c = ';';
        }
    }
    return text;
}

ConnectionPart PartOf(const Values& values) {
    return {std::string(values[0]), std::string(values[1]), std::string(values[2]),
            std::string(values[3])};
}

std::string Joined(const platform::System& system, char separator,
                   std::initializer_list<std::u16string_view> texts, int32_t syntax,
                   int32_t driver) {
    std::string joined;
    for (std::u16string_view text : texts) {
        joined += system.WideToAnsi(text);
        joined += separator;
    }
    return joined + std::to_string(syntax) + separator + std::to_string(driver);
}

}  // namespace

std::optional<ConnectionField> FieldHoldingSeparator(const ConnectionFields& fields) {
    const std::pair<ConnectionField, const std::u16string*> taken[] = {
        {ConnectionField::kPrimaryName, &fields.primaryName},
        {ConnectionField::kPrimaryUser, &fields.primaryUser},
        {ConnectionField::kPrimaryPassword, &fields.primaryPassword},
        {ConnectionField::kPrimaryHost, &fields.primaryHost},
        {ConnectionField::kBackupName, &fields.backupName},
        {ConnectionField::kBackupUser, &fields.backupUser},
        {ConnectionField::kBackupPassword, &fields.backupPassword},
        {ConnectionField::kBackupHost, &fields.backupHost},
    };
    // The backup values go into the string only with a backup DSN.
    const size_t count = fields.backupName.empty() ? 4 : std::size(taken);
    for (size_t i = 0; i < count; ++i) {
        if (taken[i].second->find_first_of(u";|") != std::u16string::npos) {
            return taken[i].first;
        }
    }
    return std::nullopt;
}

void ApplyConnectionString(std::string_view connection, int32_t defaultSyntax,
                           const platform::System& system, ConnectionFields& fields) {
    const Values primary(PrimaryText(connection), ';');
    fields.primaryName = system.AnsiToWide(primary[0]);
    fields.primaryUser = system.AnsiToWide(primary[1]);
    fields.primaryPassword = system.AnsiToWide(primary[2]);
    fields.primaryHost = system.AnsiToWide(primary[3]);
    fields.syntax = NumberIn(primary[4], kSyntaxItems.size(), defaultSyntax);
    fields.driver = NumberIn(primary[5], kDriverItems.size(), 0);

    const std::string backupText = BackupValuesText(connection);
    const Values backup(backupText, ';');
    fields.backupName = system.AnsiToWide(backup[0]);
    fields.backupUser = system.AnsiToWide(backup[1]);
    fields.backupPassword = system.AnsiToWide(backup[2]);
    fields.backupHost = system.AnsiToWide(backup[3]);
}

std::string BuildConnectionString(const ConnectionFields& fields, const platform::System& system) {
    std::string connection =
        Joined(system, ';',
               {fields.primaryName, fields.primaryUser, fields.primaryPassword, fields.primaryHost},
               fields.syntax, fields.driver);
    if (!fields.backupName.empty()) {
        connection += '|';
        connection +=
            Joined(system, '|',
                   {fields.backupName, fields.backupUser, fields.backupPassword, fields.backupHost},
                   fields.syntax, fields.driver);
    }
    return connection;
}

ConnectionSettings ParseConnectionString(std::string_view connection) {
    ConnectionSettings settings;
    const Values primary(PrimaryText(connection), ';');
    settings.primary = PartOf(primary);
    settings.syntax = util::StrToIntDef(primary[4], 0);
    settings.driver = static_cast<DatabaseDriver>(NumberIn(primary[5], kDriverItems.size(), 0));
    const std::string backup = BackupValuesText(connection);
    if (!backup.empty()) {
        settings.backup = PartOf(Values(backup, ';'));
    }
    return settings;
}

namespace {

// The text with its third value emptied; values end at any of the separators.
std::string WithoutThirdValue(std::string_view text, std::string_view separators) {
    size_t start = 0;
    for (int value = 0; value < 2; ++value) {
        const size_t end = text.find_first_of(separators, start);
        if (end == std::string_view::npos) {
            return std::string(text);
        }
        start = end + 1;
    }
    const size_t end = text.find_first_of(separators, start);
    return std::string(text.substr(0, start)) +
           (end == std::string_view::npos ? "" : std::string(text.substr(end)));
}

}  // namespace

std::string WithoutPasswords(std::string_view connection) {
    const size_t bar = connection.find('|');
    std::string masked = WithoutThirdValue(connection.substr(0, bar), ";");
    if (bar != std::string_view::npos) {
        masked += "|" + WithoutThirdValue(connection.substr(bar + 1), "|;");
    }
    return masked;
}

}  // namespace tolva::provisioning
