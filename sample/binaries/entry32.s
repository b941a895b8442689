	.text
	.globl	_start
_start:
	movl	$1, %eax
	ret	$12
