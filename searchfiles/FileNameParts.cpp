// SPDX-License-Identifier: MIT
#include "FileNameParts.h"

std::string ExtractFileName(const std::string& name)
{
    const std::size_t slash = name.rfind('/');
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

std::string ExtractFilePath(const std::string& name)
{
    const std::size_t slash = name.rfind('/');
    return slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
}

std::string ExtractFileExt(const std::string& name)
{
    const std::string base = ExtractFileName(name);
    const std::size_t dot = base.rfind('.');
    return dot == std::string::npos ? std::string() : base.substr(dot);
}
