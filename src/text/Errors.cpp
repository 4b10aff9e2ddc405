#include "text/Errors.h"

namespace corvane {

ConversionError::ConversionError(Place place) : std::runtime_error(Message(place)), m_place(std::move(place)) {}

std::string ConversionError::Message(const Place& place)
{
    std::string message;
    if (!place.File.empty())
        message.append(place.File).append(": ");
    std::string where = place.RowName;
    if (!place.Column.empty())
        where.append(where.empty() ? "" : ", ").append("column ").append(place.Column);
    if (!where.empty())
        message.append(where).append(": ");
    return message.append("'").append(place.CellText).append("' is not a valid floating point value");
}

ConversionError ConversionError::InColumn(std::string_view header) const
{
    if (!m_place.Column.empty())
        return *this;
    Place place = m_place;
    place.Column = header;
    return ConversionError(std::move(place));
}

ConversionError ConversionError::InRow(int row, std::string_view ticket) const
{
    if (!m_place.RowName.empty())
        return *this;
    Place place = m_place;
    place.Row = row;
    place.RowName = "trade " + std::to_string(row);
    if (!ticket.empty())
        place.RowName.append(" (ticket ").append(ticket).append(")");
    return ConversionError(std::move(place));
}

ConversionError ConversionError::InRow(std::string_view name) const
{
    if (!m_place.RowName.empty())
        return *this;
    Place place = m_place;
    place.RowName = name;
    return ConversionError(std::move(place));
}

ConversionError ConversionError::InFile(std::string_view file) const
{
    if (!m_place.File.empty())
        return *this;
    Place place = m_place;
    place.File = file;
    return ConversionError(std::move(place));
}

} // namespace corvane
