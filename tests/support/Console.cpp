#include "Console.h"

#include <gtest/gtest.h>

std::string printedBy(const std::function<void()>& run)
{
	testing::internal::CaptureStdout();
	run();
	return testing::internal::GetCapturedStdout();
}

std::string errorsOf(const std::function<void()>& run)
{
	testing::internal::CaptureStderr();
	run();
	return testing::internal::GetCapturedStderr();
}
