// The cases of the parameterised tests: structs that derive from NamedCase
// and so start with a Name, which names the test and is what gtest prints
// for the case.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

struct NamedCase
{
	const char* Name;

	friend std::ostream& operator<<(std::ostream& os, const NamedCase& c) { return os << c.Name; }
};

// The name generator for INSTANTIATE_TEST_SUITE_P.
template <typename Case>
std::string caseName(const ::testing::TestParamInfo<Case>& info)
{
	return info.param.Name;
}
