// SPDX-License-Identifier: MIT
#include "DirectoryNavigator.h"

#include "FileNames.h"

#include <cstdint>

namespace {

std::unique_ptr<TSearchFiles> NewListing()
{
    auto files = std::make_unique<TSearchFiles>();
    files->DispFile = dfFile;
    return files;
}

}   // namespace

DirectoryNavigator::DirectoryNavigator(PlotState& state) : m_state(state), m_files(NewListing())
{
}

void DirectoryNavigator::StartIn(const std::string& dir)
{
    m_state.CurrentDir = dir;
}

DirectoryNavigator::Place DirectoryNavigator::Leave()
{
    Place left;
    left.m_files = NewListing();
    left.m_files.swap(m_files);
    left.m_dir = m_state.CurrentDir;
    left.m_index = m_state.ListingIndex;
    left.m_count = m_state.ListingCount;
    return left;
}

DirectoryNavigator::Place DirectoryNavigator::Enter(const std::string& file)
{
    Place left = Leave();
    m_state.CurrentDir = ExtractFilePath(file);
    List(file);
    return left;
}

void DirectoryNavigator::Return(Place place)
{
    if (!place.m_files)
        return;
    m_files = std::move(place.m_files);
    m_state.CurrentDir = std::move(place.m_dir);
    m_state.ListingIndex = place.m_index;
    m_state.ListingCount = place.m_count;
}

DirectoryNavigator::Place DirectoryNavigator::Relist(const std::string& file)
{
    Place left = Leave();
    List(file);
    return left;
}

void DirectoryNavigator::List(const std::string& file)
{
    m_files->SortStyle = ssNameSmall;
    // Empty without a dot: every file of the directory is listed.
    m_files->ExtFilter = ExtractFileExt(file);
    m_files->Execute(m_state.CurrentDir.empty() ? std::string(".") : m_state.CurrentDir);
    m_state.ListingCount = m_files->Count();
    const std::string base = ExtractFileName(file);
    for (int i = 0; i < m_state.ListingCount; ++i) {
        if (m_files->GetFileName(i) == base) {
            m_state.ListingIndex = i;
            return;
        }
    }
}

std::string DirectoryNavigator::StepNext()
{
    if (++m_state.ListingIndex > m_state.ListingCount - 1)
        m_state.ListingIndex = 0;
    return PathAtPosition();
}

std::string DirectoryNavigator::StepPrevious()
{
    if (--m_state.ListingIndex < 0)
        m_state.ListingIndex = m_state.ListingCount - 1;
    return PathAtPosition();
}

std::string DirectoryNavigator::StepFirst()
{
    m_state.ListingIndex = 0;
    return PathAtPosition();
}

std::string DirectoryNavigator::StepLast()
{
    m_state.ListingIndex = m_state.ListingCount - 1;
    return PathAtPosition();
}

std::string DirectoryNavigator::PathAtPosition() const
{
    return m_state.CurrentDir + m_files->GetFileName(m_state.ListingIndex);
}

// The comparisons are made in 64 bits so that no UnitWheel from a settings
// file can overflow them.
int DirectoryNavigator::WheelNotch(bool forward)
{
    std::int32_t& count = m_state.WheelCount;
    const std::int64_t unit = m_state.UnitWheel;
    if (forward)
        count = std::int64_t(count) + 1 >= unit ? 0 : count + 1;
    else
        count = std::int64_t(count) - 1 <= -unit ? 0 : count - 1;
    if (count != 0)
        return 0;
    return forward ? 1 : -1;
}

std::string DirectoryNavigator::PathAfterSteps(int step) const
{
    const int count = m_state.ListingCount;
    if (count <= 0)
        return {};
    const int index = ((m_state.ListingIndex + step) % count + count) % count;
    return m_state.CurrentDir + m_files->GetFileName(index);
}

std::string DirectoryNavigator::ShownName() const
{
    if (m_state.ListingIndex < 0 || m_state.ListingIndex >= m_state.ListingCount)
        return {};
    return m_files->GetFileName(m_state.ListingIndex);
}
