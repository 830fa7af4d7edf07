// STUB
#pragma once
